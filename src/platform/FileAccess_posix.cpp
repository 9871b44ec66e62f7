#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/FileAccess.h"

namespace platform {
namespace {

Error errorFromErrno(int code) {
    switch (code) {
        case EACCES:
        case EPERM:
        case EROFS:
        case ETXTBSY:
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

// A link or an entry of unknown type is what it leads to.
unsigned char typeOf(int folderFd, const dirent& entry) {
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) return entry.d_type;
    struct stat target {};
    if (::fstatat(folderFd, entry.d_name, &target, 0) != 0) return DT_UNKNOWN;
    return S_ISREG(target.st_mode) ? DT_REG : S_ISDIR(target.st_mode) ? DT_DIR : DT_UNKNOWN;
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

    std::uint64_t size() override {
        struct stat now {};
        if (::fstat(m_fd, &now) != 0) throw errorFromErrno(errno);
        return std::uint64_t(now.st_size);
    }

    void writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) override {
        ssize_t n;
        do {
            n = ::pwrite(m_fd, bytes.data(), bytes.size(), off_t(offset));
        } while (n < 0 && errno == EINTR);
        if (n < 0) throw errorFromErrno(errno);
        if (std::size_t(n) != bytes.size()) throw errors::make(errors::DeviceIo);
    }

    void close() override {
        const int fd = m_fd;
        m_fd = -1;
        // After EINTR the descriptor is gone on Linux; retrying could close another.
        if (::close(fd) != 0 && errno != EINTR) throw errorFromErrno(errno);
    }

private:
    int m_fd;
};

class PosixFolder final : public Folder {
public:
    explicit PosixFolder(const std::string& path)
        : m_fd(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)),
          m_openError(m_fd < 0 ? errno : 0) {}
    ~PosixFolder() override {
        if (m_fd >= 0) ::close(m_fd);
    }

    std::unique_ptr<OpenFile> openExisting(const std::string& name) override {
        if (name.find('/') != std::string::npos) return nullptr;  // a path, not an entry
        if (m_fd < 0) {
            if (isMissing(m_openError)) return nullptr;
            throw errorFromErrno(m_openError);
        }
        // The kind of the entry decides, before any permission: a pipe or a
        // device the user may not open is still just not a trend file.
        struct stat entry {};
        if (::fstatat(m_fd, name.c_str(), &entry, 0) != 0) {
            if (isMissing(errno)) return nullptr;
            throw errorFromErrno(errno);
        }
        if (!S_ISREG(entry.st_mode)) return nullptr;
        // No O_CREAT, so nothing is ever created; O_NONBLOCK so that a pipe
        // swapped in since the check cannot hang the open.
        const int fd = ::openat(m_fd, name.c_str(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) {
            if (isMissing(errno) || errno == ENXIO || errno == EISDIR) return nullptr;
            throw errorFromErrno(errno);
        }
        auto file = std::make_unique<PosixFile>(fd);
        struct stat opened {};
        if (::fstat(fd, &opened) != 0) throw errorFromErrno(errno);
        if (!S_ISREG(opened.st_mode)) return nullptr;
        return file;
    }

    void flush() override {
        if (m_fd >= 0 && ::syncfs(m_fd) != 0) throw errorFromErrno(errno);
    }

    Entries list() override {
        if (m_fd < 0) throw folderError(m_openError);
        // A descriptor of its own, so that reading the entries moves no
        // position of the folder's descriptor.
        const int listFd = ::openat(m_fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        DIR* dir = listFd >= 0 ? ::fdopendir(listFd) : nullptr;
        if (!dir) {
            const int code = errno;
            if (listFd >= 0) ::close(listFd);
            throw folderError(code);
        }
        Entries entries;
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name == "." || name == "..") continue;
            const unsigned char type = typeOf(m_fd, *entry);
            if (type == DT_REG) entries.files.push_back(name);
            if (type == DT_DIR) entries.folders.push_back(name);
        }
        ::closedir(dir);
        return entries;
    }

private:
    static Error folderError(int code) {
        return isMissing(code) ? errors::make(errors::PathNotFound) : errorFromErrno(code);
    }

    int m_fd;
    int m_openError;
};

class PosixFileAccess final : public FileAccess {
public:
    std::unique_ptr<Folder> openFolder(const std::string& path) override {
        return std::make_unique<PosixFolder>(path);
    }
};

}  // namespace

FileAccess& nativeFileAccess() {
    static PosixFileAccess access;
    return access;
}

}  // namespace platform
