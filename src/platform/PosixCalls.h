#pragma once

// The system calls of the POSIX file layer that tests need to watch or make
// fail; the layer makes each of these calls through here.

#include <sys/stat.h>
#include <sys/statfs.h>

namespace platform::posix {

struct Calls {
    int (*open)(const char* path, int flags);
    int (*openat)(int folder, const char* name, int flags);
    int (*fstat)(int fd, struct stat* info);
    int (*syncfs)(int fd);
    int (*fdatasync)(int fd);
    int (*fstatfs)(int fd, struct statfs* info);
    // Where a descriptor can be opened again by number, when procfs is mounted there.
    const char* descriptorFolder;
};

// The calls in use; a test may replace them and must put them back.
Calls& calls();
// The system's own.
Calls systemCalls();

}  // namespace platform::posix
