#include <mntent.h>
#include <unistd.h>

#include <memory>

#include "platform/Places.h"

namespace platform {

namespace {

bool underOrAt(const std::string& path, const std::string& tree) {
    return path == tree || path.starts_with(tree + "/");
}

// False for a mount that is no place to keep files: under /proc, /sys, /dev,
// /snap, /run but /run/media; tmpfs, overlay, squashfs; a loop device.
bool isUserVolume(const Volume& volume) {
    const std::string& root = volume.root;
    const bool systemTree = underOrAt(root, "/proc") || underOrAt(root, "/sys") ||
                            underOrAt(root, "/dev") || underOrAt(root, "/snap") ||
                            (underOrAt(root, "/run") && !root.starts_with("/run/media/"));
    const bool virtualType =
        volume.type == "tmpfs" || volume.type == "overlay" || volume.type == "squashfs";
    return !systemTree && !virtualType && !volume.device.starts_with("/dev/loop");
}

}  // namespace

std::vector<Volume> mountedVolumes() {
    std::vector<Volume> volumes = {{"/", "", ""}};  // the root of the tree is always there
    const std::unique_ptr<FILE, int (*)(FILE*)> table(::setmntent("/proc/self/mounts", "r"),
                                                      ::endmntent);
    if (!table) return volumes;
    while (const mntent* entry = ::getmntent(table.get())) {
        Volume volume{entry->mnt_dir, entry->mnt_type, entry->mnt_fsname};
        if (isUserVolume(volume)) volumes.push_back(std::move(volume));
    }
    return volumes;
}

std::optional<std::string> fullPath(const std::string& path) {
    std::string absolute = path;
    if (!path.starts_with('/')) {
        const std::unique_ptr<char, void (*)(void*)> here(::getcwd(nullptr, 0), std::free);
        if (!here) return std::nullopt;
        absolute = std::string(here.get()) + "/" + path;
    }
    // Step by step, as the names read; a link is not followed here.
    std::vector<std::string> steps;
    for (std::size_t start = 0; start <= absolute.size();) {
        const std::size_t end = std::min(absolute.find('/', start), absolute.size());
        const std::string step = absolute.substr(start, end - start);
        if (step == "..") {
            if (!steps.empty()) steps.pop_back();
        } else if (!step.empty() && step != ".") {
            steps.push_back(step);
        }
        start = end + 1;
    }
    std::string full;
    for (const std::string& step : steps) full += "/" + step;
    return full.empty() ? "/" : full;
}

std::string currentFolder(const std::string&) { return fullPath(".").value_or("/"); }

}  // namespace platform
