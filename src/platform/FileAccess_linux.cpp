#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/FileAccess.h"
#include "platform/PosixCalls.h"

namespace platform {
namespace {

int numberOf(int code) {
    switch (code) {
        case EACCES:
        case EPERM:
        case EROFS:
        case ETXTBSY:
            return errors::PermissionDenied;
        case EIO:
            return errors::DeviceIo;
        case ENOSPC:
        case EDQUOT:
            return errors::DiskFull;
        case EMFILE:
        case ENFILE:
            return errors::TooManyFiles;
        case ENAMETOOLONG:
            return errors::BadFileName;
        default:
            return errors::PathFileAccess;
    }
}

// The program's number for `code`, with the system's own words for it.
Error errorFromErrno(int code, Operation operation) {
    return Error(numberOf(code), operation, code, std::strerror(code));
}

bool isMissing(int code) { return code == ENOENT || code == ENOTDIR || code == ELOOP; }

// A link or an entry of unknown type is what it leads to.
unsigned char typeOf(const posix::Calls& calls, int folderFd, const dirent& entry) {
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) return entry.d_type;
    struct stat target {};
    if (calls.fstatat(folderFd, entry.d_name, &target, 0) != 0) return DT_UNKNOWN;
    return S_ISREG(target.st_mode) ? DT_REG : S_ISDIR(target.st_mode) ? DT_DIR : DT_UNKNOWN;
}

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Only procfs reopens a descriptor's own file by number: an ordinary folder
// mounted at /proc would hand out whatever file it holds under that name.
bool descriptorFolderIsProcfs(const posix::Calls& calls) {
    struct statfs info {};
    return calls.statfs(calls.descriptorFolder.c_str(), &info) == 0 &&
           info.f_type == PROC_SUPER_MAGIC;
}

// Opens the file behind descriptor `fd` again with `flags`: through procfs,
// that very file, wherever its name leads now. -1 with ENOENT where
// descriptors cannot be reopened.
int reopen(const posix::Calls& calls, bool descriptorsReopen, int fd, int flags) {
    if (!descriptorsReopen) return errno = ENOENT, -1;
    const std::string path = calls.descriptorFolder + std::to_string(fd);
    return calls.open(path.c_str(), flags | O_NOCTTY | O_CLOEXEC);
}

// False on file systems whose flush of the whole file system does not reach
// the storage (it stays on this machine's side), so each file is flushed alone.
bool syncfsReaches(const posix::Calls& calls, int fd) {
    struct statfs info {};
    if (calls.fstatfs(fd, &info) != 0) return false;
    switch (static_cast<unsigned long>(info.f_type)) {
        case FUSE_SUPER_MAGIC:
        case NFS_SUPER_MAGIC:
        case CIFS_SUPER_MAGIC:
        case SMB2_SUPER_MAGIC:
        case SMB_SUPER_MAGIC:
        case V9FS_MAGIC:
        case CEPH_SUPER_MAGIC:
        case AFS_FS_MAGIC:
            return false;
        default:
            return true;
    }
}

Error changedSinceRead() {
    return errors::make(errors::PathFileAccess, Operation::Open,
                        "the name no longer leads to the file that was read");
}

// Why an open for writing failed: a link met where links are not followed,
// or the system's own words.
Error openForWritingError(int code) {
    if (code == ELOOP)
        return errors::make(errors::PathFileAccess, Operation::Open,
                            "the name is a link, which is not followed without /proc");
    return errorFromErrno(code, Operation::Open);
}

// Root writes what nobody may write; the permission still says the file is
// not to be changed, as a read-only file on Windows does.
void requireWritePermission(const struct stat& file) {
    if ((file.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        throw errors::make(errors::PermissionDenied, Operation::Open,
                           "the file has no write permission");
}

bool keepsNoLocks(int code) { return code == ENOLCK || code == EINVAL || code == EOPNOTSUPP; }

// Tries to lock the whole file of `fd` for writing in both of the system's
// families, held until the descriptor is closed, so that another run and
// any program that locks with fcntl or flock take turns with this one. True
// while another holds either; neither is then kept, so that nobody waits on
// this one meanwhile. On the same descriptor, where one family stands in
// for the other (NFS), the two never conflict. A file system that keeps no
// locks is written without.
bool lockHeldByAnother(const posix::Calls& calls, int fd) {
    if (calls.flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK || errno == EINTR) return true;
        if (!keepsNoLocks(errno)) throw errorFromErrno(errno, Operation::Open);
    }
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;  // from 0, and a length of 0: to the end, however long
    if (calls.fcntl(fd, F_OFD_SETLK, &lock) == 0) return false;
    const int code = errno;
    if (keepsNoLocks(code)) return false;
    if (code != EAGAIN && code != EACCES && code != EINTR)
        throw errorFromErrno(code, Operation::Open);
    calls.flock(fd, LOCK_UN);
    return true;
}

// What a folder's files share, decided once when the folder opens: how
// they are reopened and made durable; and the changes made in them.
struct FolderState {
    explicit FolderState(const posix::Calls& through) : calls(through) {}
    const posix::Calls& calls;
    dev_t folderDevice = 0;
    bool descriptorsReopen = false;      // through /proc
    bool eachFile = false;               // the folder's flush would not reach them
    std::vector<std::string> unflushed;  // changed on the folder's file system
};

class PosixFile final : public OpenFile {
public:
    // `fd` is open for reading on the regular file `name` of `folderFd`.
    PosixFile(int fd, const struct stat& read, int folderFd, std::string name, FolderState& state)
        : m_fd(fd),
          m_read(read),
          m_folderFd(folderFd),
          m_name(std::move(name)),
          m_state(state),
          m_size(std::uint64_t(read.st_size)) {}
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
            ssize_t n =
                m_state.calls.pread(m_fd, buffer.data() + done, buffer.size() - done, off_t(done));
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) throw errorFromErrno(errno, Operation::Read);
            if (n == 0) break;
            done += std::size_t(n);
        }
        return done;
    }

    bool openForWriting(const Waiting& waiting) override {
        if (m_readFd >= 0) return true;
        requireWritePermission(m_read);
        const posix::Calls& calls = m_state.calls;
        int fd = -1;
        struct Closed {
            const posix::Calls& calls;
            int& fd;
            ~Closed() {
                if (fd >= 0) calls.close(fd);
            }
        } closed{calls, fd};
        // A holder of a read lease is asked to let the file go by the open,
        // which does not wait for it: the wait is here, where it can be told and ended.
        if (!waitWhile(Holder::Lease, waiting, [&] {
                fd = openToWrite();
                return fd < 0 && errno == EWOULDBLOCK;
            }))
            return false;
        if (fd < 0) throw openForWritingError(errno);
        if (!waitWhile(Holder::Lock, waiting, [&] { return lockHeldByAnother(calls, fd); }))
            return false;
        struct stat opened {};
        // After any wait, in one fstat: the file opened must be the one read
        // (whichever way it opened, and should /proc have been mounted over
        // since it was checked), the one its name leads to (one renamed over
        // or deleted meanwhile is no longer what the user picked), still
        // writable, and its length is known from here on.
        if (calls.fstat(fd, &opened) != 0 || !sameFile(opened, m_read) || !stillNamed())
            throw changedSinceRead();
        requireWritePermission(opened);
        m_size = std::uint64_t(opened.st_size);
        m_readFd = std::exchange(m_fd, std::exchange(fd, -1));
        return true;
    }

    // As the file was first seen; once open for writing, from the descriptor's
    // fstat under the lock, which every program that locks waits for.
    std::uint64_t size() override { return m_size; }

    FileId id() const override {
        return {std::uint64_t(m_read.st_dev), std::uint64_t(m_read.st_ino)};
    }

    void writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) override {
        if (m_readFd < 0) throw errors::make(errors::PathFileAccess);  // not opened for writing
        m_written = true;
        ssize_t n;
        do {
            n = m_state.calls.pwrite(m_fd, bytes.data(), bytes.size(), off_t(offset));
        } while (n < 0 && errno == EINTR);
        if (n < 0) throw errorFromErrno(errno, Operation::Write);
        if (std::size_t(n) != bytes.size())
            throw errors::make(errors::DeviceIo, Operation::Write,
                               "a part of the bytes was written");
        // A program that saves by renaming a new file over the name takes no
        // lock: the bytes then went to a file nobody will see again.
        if (!stillNamed())
            throw errors::make(errors::PathFileAccess, Operation::Write,
                               "the file was replaced while it was written");
    }

    // A change on the folder's file system waits for the folder's one
    // flush, where that flush reaches the storage; any other is flushed
    // here, file by file.
    void close() override {
        const bool flushHere =
            m_written && (m_state.eachFile || m_read.st_dev != m_state.folderDevice);
        if (m_written && !flushHere) m_state.unflushed.push_back(m_name);
        const int fd = std::exchange(m_fd, -1);
        const int flushError = flushHere && m_state.calls.fdatasync(fd) != 0 ? errno : 0;
        // After EINTR the descriptor is gone on Linux; retrying could close another.
        const int closeError = m_state.calls.close(fd) != 0 && errno != EINTR ? errno : 0;
        if (m_readFd >= 0) m_state.calls.close(std::exchange(m_readFd, -1));
        if (flushError) throw errorFromErrno(flushError, Operation::Flush);
        if (closeError) throw errorFromErrno(closeError, Operation::Close);
    }

private:
    // Opens this file again for reading and writing, without waiting for a
    // lease holder; without /proc only the name is left, and a link then is
    // not followed, so that no link swapped in can lead the open to a device.
    int openToWrite() const {
        constexpr int flags = O_RDWR | O_NONBLOCK;
        const int fd = reopen(m_state.calls, m_state.descriptorsReopen, m_fd, flags);
        if (fd >= 0 || errno != ENOENT) return fd;
        return m_state.calls.openat(m_folderFd, m_name.c_str(),
                                    flags | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    }

    // Whether the name still leads to the file that was read.
    bool stillNamed() const {
        struct stat named {};
        return m_state.calls.fstatat(m_folderFd, m_name.c_str(), &named, 0) == 0 &&
               sameFile(named, m_read);
    }

    int m_fd;
    int m_readFd = -1;  // kept open for reading once m_fd writes
    struct stat m_read;
    int m_folderFd;
    std::string m_name;
    FolderState& m_state;
    std::uint64_t m_size;
    bool m_written = false;
};

class PosixFolder final : public Folder {
public:
    PosixFolder(const std::string& path, const posix::Calls& calls)
        : m_path(path),
          m_fd(calls.open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)),
          m_openError(m_fd < 0 ? errno : 0),
          m_state(calls) {
        // A folder that may be searched but not read still opens the files
        // in it; it cannot be flushed or listed, so each file is flushed.
        const bool searchOnly = m_openError == EACCES;
        if (searchOnly) {
            m_fd = calls.open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
            m_openError = m_fd < 0 ? errno : 0;
        }
        // A path through a file names nothing; only one that is itself a
        // file names something that is no folder.
        struct stat named {};
        m_pathIsNoFolder =
            m_openError == ENOTDIR && calls.fstatat(AT_FDCWD, path.c_str(), &named, 0) == 0;
        struct stat folder {};
        if (m_fd >= 0 && calls.fstat(m_fd, &folder) == 0) m_state.folderDevice = folder.st_dev;
        m_state.descriptorsReopen = m_fd >= 0 && descriptorFolderIsProcfs(calls);
        m_state.eachFile = m_fd >= 0 && (searchOnly || !syncfsReaches(calls, m_fd));
    }
    ~PosixFolder() override {
        if (m_fd >= 0) m_state.calls.close(m_fd);
    }

    std::unique_ptr<OpenFile> openExisting(const std::string& name) override {
        if (name.find('/') != std::string::npos) return nullptr;  // a path, not an entry
        if (m_fd < 0) {
            if (isMissing(m_openError)) return nullptr;
            throw errorFromErrno(m_openError, Operation::Open);
        }
        // The entry is opened without access first and its kind decided on
        // that descriptor, so nothing swapped in afterwards is opened. No
        // O_CREAT: nothing is ever created.
        const posix::Calls& calls = m_state.calls;
        const int entry = calls.openat(m_fd, name.c_str(), O_PATH | O_CLOEXEC);
        if (entry < 0) {
            const int code = errno;
            requireFolderThere();
            if (isMissing(code)) return nullptr;
            throw errorFromErrno(code, Operation::Open);
        }
        struct stat kind {};
        const int kindError = calls.fstat(entry, &kind) != 0 ? errno : 0;
        // O_NONBLOCK: a pipe reached by the name-only open cannot hang it.
        constexpr int readOnly = O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
        int fd = -1;
        if (!kindError && S_ISREG(kind.st_mode))
            fd = reopen(calls, m_state.descriptorsReopen, entry, readOnly);
        const int reopenError = errno;
        calls.close(entry);
        if (kindError) throw errorFromErrno(kindError, Operation::Open);
        if (!S_ISREG(kind.st_mode)) return nullptr;
        if (fd < 0 && reopenError != ENOENT) throw errorFromErrno(reopenError, Operation::Open);
        const bool reopened = fd >= 0;
        if (!reopened) {  // no /proc: the name opened for reading only decides
            fd = calls.openat(m_fd, name.c_str(), readOnly);
            if (fd < 0) {
                if (isMissing(errno) || errno == ENXIO || errno == EISDIR) return nullptr;
                throw errorFromErrno(errno, Operation::Open);
            }
        }
        // A reopen through procfs is the very entry whose kind was decided (a
        // /proc mounted over since it was checked is caught before any write);
        // a file opened by its name is known from its own fstat.
        struct stat opened = kind;
        if (!reopened && calls.fstat(fd, &opened) != 0) {
            const int code = errno;
            calls.close(fd);
            throw errorFromErrno(code, Operation::Open);
        }
        if (!S_ISREG(opened.st_mode)) {
            calls.close(fd);
            return nullptr;
        }
        return std::make_unique<PosixFile>(fd, opened, m_fd, name, m_state);
    }

    void flush() override {
        if (m_state.unflushed.empty()) return;
        std::vector<std::string> names = std::exchange(m_state.unflushed, {});
        if (m_state.calls.syncfs(m_fd) != 0)
            throw FlushError(errorFromErrno(errno, Operation::Flush), std::move(names));
    }

    Entries list() override {
        if (m_pathIsNoFolder) throw NotAFolder(errorFromErrno(ENOTDIR, Operation::Open));
        if (m_fd < 0) throwFolderError(m_openError, Operation::Open);
        // A descriptor of its own, so that reading the entries moves no
        // position of the folder's descriptor.
        const int listFd = m_state.calls.openat(m_fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        DIR* dir = listFd >= 0 ? ::fdopendir(listFd) : nullptr;
        if (!dir) {
            const int code = errno;
            if (listFd >= 0) m_state.calls.close(listFd);
            throwFolderError(code, Operation::List);
        }
        Entries entries;
        errno = 0;
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name == "." || name == "..") continue;
            const unsigned char type = typeOf(m_state.calls, m_fd, *entry);
            if (type == DT_REG) entries.files.push_back(name);
            if (type == DT_DIR) entries.folders.push_back(name);
            errno = 0;
        }
        const int readError = errno;
        ::closedir(dir);
        if (readError) throwFolderError(readError, Operation::List);
        return entries;
    }

private:
    [[noreturn]] static void throwFolderError(int code, Operation operation) {
        if (isMissing(code))
            throw Error(errors::PathNotFound, operation, code, std::strerror(code));
        throw errorFromErrno(code, operation);
    }

    // A folder deleted since it was listed holds none of the files listed:
    // they are not missing one by one, the folder is gone.
    void requireFolderThere() const {
        struct stat folder {};
        if (m_state.calls.fstat(m_fd, &folder) == 0 && folder.st_nlink == 0)
            throw errors::make(
                errors::PathNotFound, Operation::Open,
                "the folder '" + withSeparator(m_path) + "' is no longer the one listed");
    }

    std::string m_path;
    int m_fd;
    int m_openError;
    bool m_pathIsNoFolder = false;
    FolderState m_state;
};

class PosixFileAccess final : public FileAccess {
public:
    explicit PosixFileAccess(const posix::Calls& calls) : m_calls(calls) {}
    std::unique_ptr<Folder> openFolder(const std::string& path) override {
        return std::make_unique<PosixFolder>(path, m_calls);
    }

private:
    const posix::Calls& m_calls;
};

}  // namespace

namespace posix {

Calls systemCalls() {
    // Never O_CREAT: no mode is passed.
    return {[](const char* path, int flags) { return ::open(path, flags); },
            [](int folder, const char* name, int flags) { return ::openat(folder, name, flags); },
            ::close,
            ::pread,
            ::pwrite,
            ::fstat,
            ::fstatat,
            [](int fd, int command, struct flock* lock) { return ::fcntl(fd, command, lock); },
            ::flock,
            ::syncfs,
            ::fdatasync,
            ::fstatfs,
            ::statfs,
            "/proc/self/fd/"};
}

std::unique_ptr<FileAccess> fileAccessThrough(const Calls& calls) {
    return std::make_unique<PosixFileAccess>(calls);
}

}  // namespace posix

FileAccess& nativeFileAccess() {
    // Never destroyed: a folder or file may still be open as the process ends.
    static const posix::Calls& calls = *new posix::Calls(posix::systemCalls());
    static PosixFileAccess access(calls);
    return access;
}

}  // namespace platform
