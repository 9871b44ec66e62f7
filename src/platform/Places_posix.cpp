#include <mntent.h>
#include <unistd.h>

#include <memory>

#include "platform/Places.h"

namespace platform {

std::vector<Volume> mountedVolumes() {
    std::vector<Volume> volumes;
    const std::unique_ptr<FILE, int (*)(FILE*)> table(::setmntent("/proc/self/mounts", "r"),
                                                      ::endmntent);
    if (!table) return volumes;
    while (const mntent* entry = ::getmntent(table.get()))
        volumes.push_back({entry->mnt_dir, entry->mnt_type, entry->mnt_fsname});
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
