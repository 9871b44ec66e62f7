#include "forms/FolderBrowser.h"

#include <algorithm>

#include "trends/FileTools.h"

namespace browsing {
namespace {

using platform::Separator;

// Code points of `text`; a byte outside valid UTF-8 becomes a value past
// every character, so such names sort after the others, by that byte.
std::u32string codePoints(const std::string& text) {
    std::u32string points;
    for (std::size_t i = 0; i < text.size();) {
        const Utf8Char c = Utf8CharAt(text, i);
        points.push_back(c.length ? c.point : 0x110000 + static_cast<unsigned char>(text[i]));
        i += c.length ? c.length : 1;
    }
    return points;
}

// Simple case folding for the scripts trend names are written in.
char32_t folded(char32_t c) {
    const bool even = c % 2 == 0;
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;
    if ((c >= 0x100 && c <= 0x137 && even) || (c >= 0x139 && c <= 0x148 && !even) ||
        (c >= 0x14A && c <= 0x177 && even) || (c >= 0x179 && c <= 0x17E && !even))
        return c + 1;
    if (c == 0x178) return 0xFF;
    if ((c >= 0x391 && c <= 0x3A9 && c != 0x3A2) || (c >= 0x410 && c <= 0x42F)) return c + 32;
    if (c == 0x3C2) return 0x3C3;  // final sigma
    if (c >= 0x400 && c <= 0x40F) return c + 80;
    return c;
}

std::u32string foldedPoints(const std::string& text) {
    std::u32string points = codePoints(text);
    std::transform(points.begin(), points.end(), points.begin(), folded);
    return points;
}

bool matchesFrom(const std::u32string& name, std::size_t n, const std::u32string& pattern,
                 std::size_t p) {
    if (p == pattern.size()) return n == name.size();
    if (pattern[p] == '*') {
        for (std::size_t rest = n; rest <= name.size(); ++rest)
            if (matchesFrom(name, rest, pattern, p + 1)) return true;
        return false;
    }
    return n < name.size() && (pattern[p] == '?' || pattern[p] == name[n]) &&
           matchesFrom(name, n + 1, pattern, p + 1);
}

bool underOrAt(const std::string& path, const std::string& tree) {
    return path == tree || path.starts_with(tree + "/");
}

// System and virtual mounts are not places where anyone keeps trend files.
bool isRealVolume(const platform::Volume& volume) {
    const std::string& root = volume.root;
    const bool systemTree = underOrAt(root, "/proc") || underOrAt(root, "/sys") ||
                            underOrAt(root, "/dev") || underOrAt(root, "/snap") ||
                            (underOrAt(root, "/run") && !root.starts_with("/run/media/"));
    const bool virtualType =
        volume.type == "tmpfs" || volume.type == "overlay" || volume.type == "squashfs";
    return !systemTree && !virtualType && !volume.device.starts_with("/dev/loop");
}

// Sorts `names` in list order, folding each name once rather than at every
// comparison: a folder may hold a hundred thousand files.
void sortByName(std::vector<std::string>& names) {
    std::vector<std::pair<std::u32string, std::string>> keyed;
    keyed.reserve(names.size());
    for (std::string& name : names) keyed.emplace_back(foldedPoints(name), std::move(name));
    std::sort(keyed.begin(), keyed.end());  // folded, then by bytes
    for (std::size_t i = 0; i < names.size(); ++i) names[i] = std::move(keyed[i].second);
}

std::string withSeparator(const std::string& path) {
    return path.ends_with(Separator) ? path : path + Separator;
}

}  // namespace

std::vector<std::string> listedFiles(std::vector<std::string> files, const std::string& pattern) {
    const std::u32string folded = foldedPoints(pattern);
    std::erase_if(files, [&](const std::string& name) {
        return !matchesFrom(foldedPoints(name), 0, folded, 0);
    });
    sortByName(files);
    return files;
}

std::vector<std::string> driveNames(const std::vector<platform::Volume>& volumes) {
    std::vector<std::string> drives;
    if (Separator == '/') drives.push_back("/");  // the root of the tree is always there
    for (const platform::Volume& volume : volumes)
        if (isRealVolume(volume) &&
            std::find(drives.begin(), drives.end(), volume.root) == drives.end())
            drives.push_back(volume.root);
    std::sort(drives.begin(), drives.end());
    return drives;
}

int driveHolding(const std::vector<std::string>& drives, const std::string& folder) {
    int innermost = -1;
    for (std::size_t i = 0; i < drives.size(); ++i) {
        const bool holds = withSeparator(folder).starts_with(withSeparator(drives[i]));
        if (holds && (innermost < 0 || drives[i].size() > drives[std::size_t(innermost)].size()))
            innermost = int(i);
    }
    return innermost;
}

std::vector<FolderItem> folderItems(const std::string& folder,
                                    std::vector<std::string> subfolders) {
    const std::size_t rootEnd = folder.find(Separator) + 1;
    std::vector<FolderItem> items{{folder.substr(0, rootEnd), folder.substr(0, rootEnd), 0}};
    for (std::size_t start = rootEnd; start < folder.size();) {
        const std::size_t end = std::min(folder.find(Separator, start), folder.size());
        items.push_back(
            {folder.substr(start, end - start), folder.substr(0, end), items.back().depth + 1});
        start = end + 1;
    }
    sortByName(subfolders);
    const int depth = items.back().depth + 1;
    for (std::string& name : subfolders)
        items.push_back({name, withSeparator(folder) + name, depth});
    return items;
}

}  // namespace browsing

FolderBrowser::FolderBrowser(BrowserView& view, std::string pattern, platform::FileAccess& files,
                             std::vector<platform::Volume> volumes)
    : m_view(view),
      m_pattern(std::move(pattern)),
      m_access(files),
      m_drives(browsing::driveNames(volumes)) {
    load(platform::currentFolder(""));
}

std::optional<platform::Error> FolderBrowser::chooseDrive(int index) {
    if (index == m_drive || index < 0 || index >= int(m_drives.size())) return std::nullopt;
    m_drive = index;
    m_view.driveShown();
    return openFolder(currentFolderOn(index));
}

bool FolderBrowser::chooseDriveNamed(const std::string& name,
                                     std::optional<platform::Error>& error) {
    const auto found = std::find(m_drives.begin(), m_drives.end(), name);
    if (found == m_drives.end()) return false;
    error = chooseDrive(int(found - m_drives.begin()));
    return true;
}

std::optional<platform::Error> FolderBrowser::openFolder(const std::string& path) {
    const int drive = m_drive;
    if (auto error = load(path)) return error;
    if (m_drive != drive) m_view.driveShown();
    m_view.foldersShown();
    m_view.filesShown();
    return std::nullopt;
}

void FolderBrowser::openFolderAt(int row) {
    if (row < 0 || row >= int(m_folders.size()) || row == m_openRow) return;
    if (openFolder(m_folders[std::size_t(row)].path)) openFolder(m_path);
}

std::optional<platform::Error> FolderBrowser::load(const std::string& path) {
    const std::optional<std::string> full = platform::fullPath(path);
    if (!full) return platform::errors::make(platform::errors::PathNotFound);
    std::shared_ptr<platform::Folder> folder = m_access.openFolder(*full);
    platform::Folder::Entries entries;
    try {
        entries = folder->list();
    } catch (const platform::Error& error) {
        // A drive root that is not there is a drive without a medium.
        const bool driveRoot = std::any_of(m_drives.begin(), m_drives.end(), [&](auto& drive) {
            return *full == rootFolderOf(drive);
        });
        return driveRoot ? platform::errors::make(platform::errors::DeviceUnavailable) : error;
    }
    const std::size_t subfolderCount = entries.folders.size();
    m_path = *full;
    m_folder = std::move(folder);
    m_folders = browsing::folderItems(m_path, std::move(entries.folders));
    m_openRow = int(m_folders.size() - subfolderCount) - 1;  // the last ancestor
    m_files = browsing::listedFiles(std::move(entries.files), m_pattern);
    m_drive = browsing::driveHolding(m_drives, m_path);
    return std::nullopt;
}

std::string FolderBrowser::rootFolderOf(const std::string& drive) {
    return platform::fullPath(drive + platform::Separator).value_or(drive);
}

std::string FolderBrowser::currentFolderOn(int drive) const {
    const std::string& name = m_drives[std::size_t(drive)];
    const std::string current = platform::currentFolder(name);
    return browsing::driveHolding(m_drives, current) == drive ? current : rootFolderOf(name);
}
