#pragma once

// The system calls of the POSIX file layer, which tests watch or make fail
// through file access made over calls of their own: like any FileAccess,
// the one way a test stands in for the operating system.

#include <sys/stat.h>
#include <sys/statfs.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/FileAccess.h"

namespace platform::posix {

struct Calls {
    std::function<int(const char* path, int flags)> open;
    std::function<int(int folder, const char* name, int flags)> openat;
    std::function<int(int fd, struct stat* info)> fstat;
    std::function<int(int fd)> syncfs;
    std::function<int(int fd)> fdatasync;
    std::function<int(int fd, struct statfs* info)> fstatfs;
    // Where a descriptor can be opened again by number, when procfs is mounted there.
    std::string descriptorFolder;
};

// The system's own.
Calls systemCalls();

// File access that makes its system calls through `calls`, which must
// outlive it and every folder and file opened through it.
std::unique_ptr<FileAccess> fileAccessThrough(const Calls& calls);
std::unique_ptr<FileAccess> fileAccessThrough(Calls&&) = delete;

}  // namespace platform::posix
