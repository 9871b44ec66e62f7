#pragma once

// Where folders are: the machine's volumes, full paths, the current folder.
// Paths are the file system's own bytes on POSIX and UTF-8 on Windows.

#include <optional>
#include <string>
#include <vector>

namespace platform {

#ifdef _WIN32
inline constexpr char Separator = '\\';
#else
inline constexpr char Separator = '/';
#endif

// True for a drive alone, "c:", on Windows: the drive's current folder, to
// which a name joins without a separator ("c:a.hst").
inline bool isDriveAlone(const std::string& path) {
    return Separator == '\\' && path.size() == 2 && path[1] == ':';
}

// Whether `c` separates folders in a path: "/" counts on Windows too.
inline bool isSeparator(char c) { return c == Separator || c == '/'; }

// `folder` with the separator that joins a name to it, unless it ends in a
// separator already or is a drive alone.
inline std::string withSeparator(const std::string& folder) {
    const bool ends = !folder.empty() && isSeparator(folder.back());
    return ends || isDriveAlone(folder) ? folder : folder + Separator;
}

struct Volume {
    std::string root;    // "c:" on Windows, the mount point elsewhere
    std::string type;    // the file system's type, where the system says it
    std::string device;  // what is mounted, where the system says it
};

// The mounted volumes a user can keep files on, in no particular order: on
// Windows the drive letters; elsewhere the root and the mounts that are not
// the system's or virtual ones.
std::vector<Volume> mountedVolumes();

// `path` made absolute and plain: no "." or ".." steps, no doubled or
// trailing separator but a root's. Nothing when no path can be made of it.
std::optional<std::string> fullPath(const std::string& path);

// The folder the process would take for `drive`: on Windows the drive's own
// current folder, elsewhere the process's one.
std::string currentFolder(const std::string& drive);

}  // namespace platform
