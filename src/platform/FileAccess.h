#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "platform/Error.h"
#include "platform/Places.h"

namespace platform {

// A file's identity on this machine: its volume and its number there.
struct FileId {
    std::uint64_t volume, number;
    auto operator<=>(const FileId&) const = default;
};

// What keeps an open for writing waiting: another program's lock on the
// file (on Windows, on any range of it), or its read lease (Linux).
enum class Holder { Lock, Lease };

// Told while an open for writing waits for another program, at least every
// 50 ms, with how long it has waited; false gives the wait up.
using Waiting = std::function<bool(Holder holder, std::chrono::milliseconds waited)>;

// A wait for another program: `held` is tried again every 20 ms while it
// finds the file held, and `waiting` told each time; false when that gave
// the wait up.
template <typename Held>
bool waitWhile(Holder holder, const Waiting& waiting, Held held) {
    using namespace std::chrono;
    std::optional<steady_clock::time_point> start;  // the clock is read only for a wait
    while (held()) {
        if (!start) start = steady_clock::now();
        const auto waited = duration_cast<milliseconds>(steady_clock::now() - *start);
        if (waiting && !waiting(holder, waited)) return false;
        std::this_thread::sleep_for(milliseconds(20));
    }
    return true;
}

// One file opened for reading, and for writing in place only once asked.
// Closed when destroyed.
class OpenFile {
public:
    virtual ~OpenFile() = default;

    // Reads from offset 0 until `buffer` is full or the file ends; returns the
    // number of bytes read. Throws Error on a read failure.
    virtual std::size_t readStart(std::span<std::uint8_t> buffer) = 0;

    // Opens this same file for writing too; size() and writeAt() then act
    // through it. It holds a lock on the whole file until closed (record and
    // flock locks on Linux, a byte-range lock on Windows), waiting for
    // another holder's as long as `waiting` (if given) says so; false
    // when the wait was given up, the file left as it was. Throws Error when
    // the system refuses, or when the name no longer leads to the file that
    // was read.
    virtual bool openForWriting(const Waiting& waiting) = 0;

    // The file's length, known no earlier than its open for writing, once
    // opened so: under its lock, which other programs that lock wait for.
    virtual std::uint64_t size() = 0;

    // Which file this is, known from its opening.
    virtual FileId id() const = 0;

    // Writes `bytes` at `offset` in one call, so that a crash leaves the old
    // bytes or the new ones. Throws Error on a failure or a short write, and
    // when the name no longer leads to the file written.
    virtual void writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) = 0;

    // Closes the file. A written file is on disk first when its folder's
    // flush() would not reach it. Throws Error on a failure.
    virtual void close() = 0;
};

// A flush that failed, with every file whose change it was to make durable.
class FlushError : public Error {
public:
    FlushError(const Error& error, std::vector<std::string> fileNames)
        : Error(error), m_fileNames(std::move(fileNames)) {}
    const std::vector<std::string>& fileNames() const { return m_fileNames; }

private:
    std::vector<std::string> m_fileNames;
};

// The folder a run works in, opened once; names are opened inside it.
class Folder {
public:
    virtual ~Folder() = default;

    // Opens the regular file `name` of this folder for reading only; `name`
    // is one entry, never a path, and a link is followed. Returns nullptr
    // when no regular file is there: missing, a folder, a device, a pipe, a
    // socket, a link that leads nowhere, a name the system cannot hold.
    // Never blocks, never creates, never opens anything else for writing.
    // Throws Error when a regular file is there but cannot be read.
    virtual std::unique_ptr<OpenFile> openExisting(const std::string& name) = 0;

    // Makes every change written to files opened here durable, on every file
    // system they lie on. Throws FlushError, or Error, on a failure.
    virtual void flush() = 0;

    struct Entries {
        std::vector<std::string> files;    // regular files, links to them included
        std::vector<std::string> folders;  // subfolders, links to them included
    };
    // What this folder holds, in no particular order, each name as the system
    // spells it. Throws NotAFolder when the path names something else, Error
    // when the folder is not there (76) or cannot be read; on Windows a name
    // UTF-8 cannot hold exactly is left out.
    virtual Entries list() = 0;
};

class FileAccess {
public:
    virtual ~FileAccess() = default;

    // The folder at `path`, opened now and kept: whatever later happens to
    // the path, names are opened in this folder. `path` is the file system's
    // own bytes on POSIX, UTF-8 with "\" on Windows. Never fails here: when
    // the folder cannot be opened, its names are missing files, or fail to
    // open with the folder's own error, and list() says why.
    virtual std::unique_ptr<Folder> openFolder(const std::string& path) = 0;

    // Where folders are, as Places.h tells them; a test may tell of others.
    virtual std::vector<Volume> mountedVolumes() { return platform::mountedVolumes(); }
    virtual std::optional<std::string> fullPath(const std::string& path) {
        return platform::fullPath(path);
    }
    virtual std::string currentFolder(const std::string& drive) {
        return platform::currentFolder(drive);
    }
};

// The operating system's files.
FileAccess& nativeFileAccess();

}  // namespace platform
