#ifndef _WIN32

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "FileAccess.h"

namespace platform {
namespace {

Error errorFromErrno(int code) {
    switch (code) {
        case EACCES:
        case EPERM:
            return errors::make(errors::PermissionDenied);
        case EIO:
            return errors::make(errors::DeviceIo);
        case ENOSPC:
        case EDQUOT:
            return errors::make(errors::DiskFull);
        case EMFILE:
        case ENFILE:
            return errors::make(errors::TooManyFiles);
        case ENAMETOOLONG:
            return errors::make(errors::BadFileName);
        default:
            return errors::make(errors::PathFileAccess);
    }
}

bool isMissing(int code) { return code == ENOENT || code == ENOTDIR || code == ELOOP; }

// The program writes folders with "\"; here the system wants "/".
std::string nativePath(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

class PosixFile final : public OpenFile {
public:
    explicit PosixFile(int fd) : m_fd(fd) {}
    ~PosixFile() override {
        if (m_fd >= 0) ::close(m_fd);
    }

    std::size_t readStart(std::span<std::uint8_t> buffer) override {
        std::size_t done = 0;
        while (done < buffer.size()) {
            ssize_t n = ::pread(m_fd, buffer.data() + done, buffer.size() - done, off_t(done));
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) throw errorFromErrno(errno);
            if (n == 0) break;
            done += std::size_t(n);
        }
        return done;
    }

    void writeStart(std::span<const std::uint8_t> bytes) override {
        std::size_t done = 0;
        while (done < bytes.size()) {
            ssize_t n = ::pwrite(m_fd, bytes.data() + done, bytes.size() - done, off_t(done));
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) throw errorFromErrno(errno);
            if (n == 0) throw errors::make(errors::DeviceIo);
            done += std::size_t(n);
        }
    }

    void close() override {
        int fd = m_fd;
        m_fd = -1;
        if (::close(fd) != 0 && errno != EINTR) throw errorFromErrno(errno);
    }

private:
    int m_fd;
};

class PosixFileAccess final : public FileAccess {
public:
    std::unique_ptr<OpenFile> openExisting(const std::string& path) override {
        const std::string native = nativePath(path);
        // No O_CREAT, so nothing is ever created; O_NONBLOCK so that a pipe
        // cannot hang the open. What is not a regular file is closed below
        // untouched: one fstat is far cheaper than a second path lookup.
        int fd = ::open(native.c_str(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) {
            if (isMissing(errno) || errno == ENXIO || errno == EISDIR) return nullptr;
            throw errorFromErrno(errno);
        }
        auto file = std::make_unique<PosixFile>(fd);
        struct stat opened {};
        if (::fstat(fd, &opened) != 0) throw errorFromErrno(errno);
        // O_NONBLOCK stays: it changes nothing for a regular file.
        if (!S_ISREG(opened.st_mode)) return nullptr;
        return file;
    }
};

}  // namespace

FileAccess& nativeFileAccess() {
    static PosixFileAccess access;
    return access;
}

}  // namespace platform

#endif
