#pragma once

// The files a command's PATHs stand for, folder by folder, each file once.

#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "cli/CommandLine.h"
#include "platform/FileAccess.h"

namespace cli {

// The files one PATH stands for, in the folder they are opened in; or why
// the PATH itself could not be read.
struct Target {
    std::string path;
    std::shared_ptr<platform::Folder> folder;
    std::vector<std::string> names;
    std::vector<std::string> paths;  // as reported, one for each name
    std::optional<platform::Error> failure;
    std::size_t unreadAfter = 0;  // with a failure: the PATHs after it, left unread
};

// Every PATH's files, in the order given; the targets end with the first
// PATH that could not be read. A file named twice is passed over where it
// is opened again (see Once), from the identity its opening tells.
std::vector<Target> targetsOf(const std::vector<std::string>& paths, platform::FileAccess& files,
                              Console& console);

// Each file once per command, where first named, however often the PATHs
// name it: a file already opened, here or by an earlier PATH, is passed over.
class Once {
public:
    bool repeated(const platform::OpenFile& file) { return !m_seen.insert(file.id()).second; }

private:
    struct Hash {
        std::size_t operator()(const platform::FileId& id) const {
            return std::hash<std::uint64_t>()(id.number ^ id.volume << 32);
        }
    };
    std::unordered_set<platform::FileId, Hash> m_seen;
};

// The files the targets stand for.
std::size_t fileCount(const std::vector<Target>& targets);
// What the command has yet to treat: the files, a PATH that could not be
// read and every PATH after it left unread, each of those counting once.
std::size_t untreatedCount(const std::vector<Target>& targets);

}  // namespace cli
