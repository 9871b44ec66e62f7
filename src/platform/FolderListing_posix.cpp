#ifndef _WIN32

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include "platform/FolderListing.h"

namespace platform {

std::vector<std::string> regularFileNames(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return names;
    const int dirFd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        bool regular = entry->d_type == DT_REG;
        // The entry's own type says nothing about where a link leads.
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat target {};
            regular = ::fstatat(dirFd, entry->d_name, &target, 0) == 0 && S_ISREG(target.st_mode);
        }
        if (regular) names.emplace_back(entry->d_name);
    }
    ::closedir(dir);
    return names;
}

}  // namespace platform

#endif
