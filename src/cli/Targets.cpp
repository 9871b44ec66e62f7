#include "cli/Targets.h"

#include "cli/Report.h"
#include "platform/Places.h"
#include "trends/FileTools.h"
#include "trends/ProductRules.h"

namespace cli {
namespace {

// The folder of the last file PATH, kept so that files of one folder named
// one by one are opened there and flushed once.
struct Parent {
    std::string path;
    std::shared_ptr<platform::Folder> folder;
};

Target targetOf(const std::string& path, platform::FileAccess& files, Parent& last) {
    std::shared_ptr<platform::Folder> folder = files.openFolder(path);
    try {
        Target target{path, folder, listedFiles(folder->list().files, TrendFilePattern), {}, {}};
        const std::string prefix = platform::withSeparator(path);
        target.paths.reserve(target.names.size());
        for (const std::string& name : target.names) target.paths.push_back(prefix + name);
        return target;
    } catch (const platform::NotAFolder&) {
    } catch (const platform::Error& error) {
        return {path, {}, {}, {}, error};
    }
    // Not a folder: a file in its own folder, or in a drive's current one
    // ("c:a.hst").
    std::size_t cut = path.size();
    while (cut > 0 && !platform::isSeparator(path[cut - 1])) --cut;
    if (cut == 0 && platform::isDriveAlone(path.substr(0, 2))) cut = 2;
    const std::string parent = cut == 0 ? "." : path.substr(0, cut);
    if (!last.folder || last.path != parent) last = {parent, files.openFolder(parent)};
    return {path, last.folder, {path.substr(cut)}, {path}, {}};
}

}  // namespace

std::vector<Target> targetsOf(const std::vector<std::string>& paths, platform::FileAccess& files,
                              Console& console) {
    std::vector<Target> targets;
    Parent last;
    for (std::size_t at = 0; at < paths.size(); ++at) {
        Target target = targetOf(paths[at], files, last);
        if (target.failure) {
            targets.push_back(std::move(target));
            targets.back().unreadAfter = paths.size() - at - 1;
            break;
        }
        if (target.names.empty())
            console.err("kelvane-cli: " + shownName(paths[at]) + ": no trend files (" +
                        TrendFilePattern + ") there\n");
        // Files of one folder named one after another are one run: one flush.
        if (targets.empty() || targets.back().folder != target.folder) {
            targets.push_back(std::move(target));
            continue;
        }
        Target& kept = targets.back();
        kept.names.insert(kept.names.end(), std::make_move_iterator(target.names.begin()),
                          std::make_move_iterator(target.names.end()));
        kept.paths.insert(kept.paths.end(), std::make_move_iterator(target.paths.begin()),
                          std::make_move_iterator(target.paths.end()));
    }
    return targets;
}

std::size_t fileCount(const std::vector<Target>& targets) {
    std::size_t count = 0;
    for (const Target& target : targets) count += target.names.size();
    return count;
}

std::size_t untreatedCount(const std::vector<Target>& targets) {
    const Target& last = targets.back();
    return fileCount(targets) + (last.failure ? 1 + last.unreadAfter : 0);
}

}  // namespace cli
