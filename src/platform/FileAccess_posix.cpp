#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "platform/FileAccess.h"
#include "platform/PosixCalls.h"

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

// Opens the file behind descriptor `fd` again with `flags`; -1 with ENOENT
// where descriptors cannot be reopened (no /proc).
int reopen(int fd, int flags) {
    const std::string path = posix::calls().descriptorFolder + std::to_string(fd);
    return posix::calls().open(path.c_str(), flags | O_NOCTTY | O_CLOEXEC);
}

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// What a folder knows of the changes made in its files.
struct Changes {
    dev_t folderDevice = 0;
    std::string lastUnflushed;  // on the folder's file system, "" when none
};

class PosixFile final : public OpenFile {
public:
    // `fd` is open for reading on the regular file `name` of `folderFd`.
    PosixFile(int fd, const struct stat& read, int folderFd, std::string name, Changes& changes)
        : m_fd(fd),
          m_read(read),
          m_folderFd(folderFd),
          m_name(std::move(name)),
          m_changes(changes) {}
    ~PosixFile() override {
        if (m_fd < 0) return;
        try {
            close();
        } catch (const Error&) {  // the run already tells why it stopped here
        }
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

    void openForWriting() override {
        if (m_readFd >= 0) return;
        constexpr int flags = O_RDWR | O_NONBLOCK;
        int fd = reopen(m_fd, flags);
        // Without /proc only the name is left; a link then is not followed,
        // so that no link swapped in can lead the open to a device.
        if (fd < 0 && errno == ENOENT)
            fd = posix::calls().openat(m_folderFd, m_name.c_str(),
                                       flags | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
        if (fd < 0)
            throw errno == ELOOP ? errors::make(errors::PathFileAccess) : errorFromErrno(errno);
        struct stat opened {};
        if (posix::calls().fstat(fd, &opened) != 0 || !sameFile(opened, m_read)) {
            ::close(fd);
            throw errors::make(errors::PathFileAccess);
        }
        m_readFd = std::exchange(m_fd, fd);
    }

    std::uint64_t size() override {
        struct stat now {};
        if (posix::calls().fstat(m_fd, &now) != 0) throw errorFromErrno(errno);
        return std::uint64_t(now.st_size);
    }

    void writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) override {
        if (m_readFd < 0) throw errors::make(errors::PathFileAccess);  // not opened for writing
        m_written = true;
        ssize_t n;
        do {
            n = ::pwrite(m_fd, bytes.data(), bytes.size(), off_t(offset));
        } while (n < 0 && errno == EINTR);
        if (n < 0) throw errorFromErrno(errno);
        if (std::size_t(n) != bytes.size()) throw errors::make(errors::DeviceIo);
    }

    // A change on the folder's file system waits for the folder's one
    // flush; one that a link took elsewhere is flushed here, file by file.
    void close() override {
        if (m_written && m_read.st_dev == m_changes.folderDevice) m_changes.lastUnflushed = m_name;
        const bool flushHere = m_written && m_read.st_dev != m_changes.folderDevice;
        const int fd = std::exchange(m_fd, -1);
        const int flushError = flushHere && posix::calls().fdatasync(fd) != 0 ? errno : 0;
        // After EINTR the descriptor is gone on Linux; retrying could close another.
        const int closeError = ::close(fd) != 0 && errno != EINTR ? errno : 0;
        if (m_readFd >= 0) ::close(std::exchange(m_readFd, -1));
        if (flushError || closeError) throw errorFromErrno(flushError ? flushError : closeError);
    }

private:
    int m_fd;
    int m_readFd = -1;  // kept open for reading once m_fd writes
    struct stat m_read;
    int m_folderFd;
    std::string m_name;
    Changes& m_changes;
    bool m_written = false;
};

class PosixFolder final : public Folder {
public:
    explicit PosixFolder(const std::string& path)
        : m_fd(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)),
          m_openError(m_fd < 0 ? errno : 0) {
        struct stat folder {};
        if (m_fd >= 0 && ::fstat(m_fd, &folder) == 0) m_changes.folderDevice = folder.st_dev;
    }
    ~PosixFolder() override {
        if (m_fd >= 0) ::close(m_fd);
    }

    std::unique_ptr<OpenFile> openExisting(const std::string& name) override {
        if (name.find('/') != std::string::npos) return nullptr;  // a path, not an entry
        if (m_fd < 0) {
            if (isMissing(m_openError)) return nullptr;
            throw errorFromErrno(m_openError);
        }
        // The entry is opened without access first and its kind decided on
        // that descriptor, so nothing swapped in afterwards is opened. No
        // O_CREAT: nothing is ever created.
        const int entry = posix::calls().openat(m_fd, name.c_str(), O_PATH | O_CLOEXEC);
        if (entry < 0) {
            if (isMissing(errno)) return nullptr;
            throw errorFromErrno(errno);
        }
        struct stat kind {};
        const int kindError = posix::calls().fstat(entry, &kind) != 0 ? errno : 0;
        // O_NONBLOCK: a pipe reached by the name-only open cannot hang it.
        constexpr int readOnly = O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
        int fd = -1;
        if (!kindError && S_ISREG(kind.st_mode)) fd = reopen(entry, readOnly);
        const int reopenError = errno;
        ::close(entry);
        if (kindError) throw errorFromErrno(kindError);
        if (!S_ISREG(kind.st_mode)) return nullptr;
        if (fd < 0 && reopenError != ENOENT) throw errorFromErrno(reopenError);
        if (fd < 0) {  // no /proc: the name opened for reading only decides
            fd = posix::calls().openat(m_fd, name.c_str(), readOnly);
            if (fd < 0) {
                if (isMissing(errno) || errno == ENXIO || errno == EISDIR) return nullptr;
                throw errorFromErrno(errno);
            }
        }
        struct stat opened {};
        if (posix::calls().fstat(fd, &opened) != 0) {
            const int code = errno;
            ::close(fd);
            throw errorFromErrno(code);
        }
        if (!S_ISREG(opened.st_mode)) {
            ::close(fd);
            return nullptr;
        }
        return std::make_unique<PosixFile>(fd, opened, m_fd, name, m_changes);
    }

    void flush() override {
        if (m_changes.lastUnflushed.empty()) return;
        const std::string name = std::exchange(m_changes.lastUnflushed, {});
        if (posix::calls().syncfs(m_fd) != 0) throw FlushError(errorFromErrno(errno), name);
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
    Changes m_changes;
};

class PosixFileAccess final : public FileAccess {
public:
    std::unique_ptr<Folder> openFolder(const std::string& path) override {
        return std::make_unique<PosixFolder>(path);
    }
};

}  // namespace

namespace posix {

Calls systemCalls() {
    return {[](const char* path, int flags) { return ::open(path, flags); },
            [](int folder, const char* name, int flags) { return ::openat(folder, name, flags); },
            ::fstat,
            ::syncfs,
            ::fdatasync,
            "/proc/self/fd/"};
}

Calls& calls() {
    static Calls inUse = systemCalls();
    return inUse;
}

}  // namespace posix

FileAccess& nativeFileAccess() {
    static PosixFileAccess access;
    return access;
}

}  // namespace platform
