#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "Error.h"

namespace platform {

// One file opened for reading and writing in place. Closed when destroyed.
class OpenFile {
public:
    virtual ~OpenFile() = default;

    // Reads from offset 0 until `buffer` is full or the file ends; returns the
    // number of bytes read. Throws Error on a read failure.
    virtual std::size_t readStart(std::span<std::uint8_t> buffer) = 0;

    // Writes all of `bytes` at offset 0. Throws Error on a write failure.
    virtual void writeStart(std::span<const std::uint8_t> bytes) = 0;

    // Closes the file, reporting a failure the system gives at closing.
    virtual void close() = 0;
};

// Opens files that already exist; never creates, truncates or extends one.
class FileAccess {
public:
    virtual ~FileAccess() = default;

    // Opens the regular file at `path` (UTF-8, "\" separates folders) for
    // reading and writing. Returns nullptr when no regular file is there:
    // missing, a folder, a device, a pipe, a socket. Never blocks on a pipe.
    // Throws Error when a regular file is there but cannot be opened.
    virtual std::unique_ptr<OpenFile> openExisting(const std::string& path) = 0;
};

// The operating system's files.
FileAccess& nativeFileAccess();

}  // namespace platform
