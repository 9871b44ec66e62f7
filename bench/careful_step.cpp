#include "careful_step.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "trends/Definitions.h"

namespace {

int reopened(int fd, int flags) {
    char path[32];
    std::snprintf(path, sizeof path, "/proc/self/fd/%d", fd);
    return ::open(path, flags | O_NOCTTY | O_CLOEXEC);
}

}  // namespace

std::vector<std::string> readdirListing(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) std::abort();
    while (dirent* entry = ::readdir(dir)) {
        if (entry->d_type != DT_REG) continue;
        const std::size_t length = std::strlen(entry->d_name);
        if (length >= 4 && ::strcasecmp(entry->d_name + length - 4, ".hst") == 0)
            names.emplace_back(entry->d_name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return ::strcasecmp(a.c_str(), b.c_str()) < 0;
    });
    return names;
}

void fileStep(int folderFd, const std::string& name, std::int16_t count, int lineFd) {
    struct stat kind {
    }, written{}, named{};
    const int entry = ::openat(folderFd, name.c_str(), O_PATH | O_CLOEXEC);
    if (entry < 0 || ::fstat(entry, &kind) != 0 || !S_ISREG(kind.st_mode)) std::abort();
    // The reopen is the very file whose kind was decided: it needs no stat of its own.
    const int readFd = reopened(entry, O_RDONLY);
    ::close(entry);
    std::uint8_t header[TrendFileHeader::Size];
    if (readFd < 0 || ::pread(readFd, header, sizeof header, 0) != ssize_t(sizeof header))
        std::abort();
    const int fd = reopened(readFd, O_RDWR | O_NONBLOCK);
    struct flock lock {};
    lock.l_type = F_WRLCK;
    if (fd < 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::fcntl(fd, F_OFD_SETLK, &lock) != 0 ||
        ::fstat(fd, &written) != 0 || written.st_ino != kind.st_ino ||
        ::fstatat(folderFd, name.c_str(), &named, 0) != 0 || named.st_ino != kind.st_ino ||
        written.st_size < off_t(sizeof header) ||
        ::pread(fd, header, sizeof header, 0) != ssize_t(sizeof header))
        std::abort();
    const std::uint8_t bytes[2] = {std::uint8_t(count), std::uint8_t(count >> 8)};
    if (::pwrite(fd, bytes, 2, 148) != 2 || ::fstatat(folderFd, name.c_str(), &named, 0) != 0 ||
        named.st_ino != kind.st_ino)
        std::abort();
    ::close(fd);
    ::close(readFd);
    if (lineFd < 0) return;
    const int before = header[148] | header[149] << 8;
    const std::string line =
        name + ": extended from " + std::to_string(before) + " to " + std::to_string(count) + "\n";
    if (::write(lineFd, line.data(), line.size()) != ssize_t(line.size())) std::abort();
}

OpenedFolder::OpenedFolder(const std::string& path)
    : fd(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {}

OpenedFolder::~OpenedFolder() { ::close(fd); }
