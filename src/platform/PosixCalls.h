#pragma once

// The system calls of the POSIX file layer, which tests watch or make fail
// through file access made over calls of their own: like any FileAccess,
// the one way a test stands in for the operating system. Every call the
// layer makes is here, but for listing: readdir reads its entries from
// libc's own buffer, filled by getdents64 on the listing descriptor (whose
// open is here) and freed by closedir with it.

#include <fcntl.h>
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
    std::function<int(int fd)> close;
    std::function<ssize_t(int fd, void* buffer, size_t size, off_t offset)> pread;
    std::function<ssize_t(int fd, const void* bytes, size_t size, off_t offset)> pwrite;
    std::function<int(int fd, struct stat* info)> fstat;
    std::function<int(int folder, const char* name, struct stat* info, int flags)> fstatat;
    std::function<int(int fd, int command, struct flock* lock)> fcntl;
    std::function<int(int fd, int operation)> flock;
    std::function<int(int fd)> syncfs;
    std::function<int(int fd)> fdatasync;
    std::function<int(int fd, struct statfs* info)> fstatfs;
    std::function<int(const char* path, struct statfs* info)> statfs;
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
