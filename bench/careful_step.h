#pragma once

// The careful file step: what a program must do to change one header
// safely and durably, written as plainly as it can be, for the benchmark to
// measure Kelvane against.

#include <cstdint>
#include <string>
#include <vector>

// The plain way to list a folder: readdir, keep regular files ending in
// ".hst" whatever the case, sort without regard to case. Aborts when the
// folder cannot be opened.
std::vector<std::string> readdirListing(const std::string& folder);

// Decides the kind on a descriptor that opens nothing, reads through a
// reopen of it, reopens that for writing under both families of lock,
// checks the file is still the one read and the one the name leads to,
// reads the header again, checks the length, writes the count, checks the
// name once more, closes; then, given `lineFd`, writes the file's line there
// in one write. Aborts on any failure.
void fileStep(int folderFd, const std::string& name, std::int16_t count, int lineFd = -1);

// A folder opened for the steps and for its one flush.
struct OpenedFolder {
    int fd;
    explicit OpenedFolder(const std::string& path);
    ~OpenedFolder();
    OpenedFolder(const OpenedFolder&) = delete;
    OpenedFolder& operator=(const OpenedFolder&) = delete;
};
