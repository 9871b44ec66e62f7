#include "forms/FolderBrowser.h"

#include <algorithm>

#include "trends/FileTools.h"
#include "trends/ProductRules.h"

namespace folderBrowser {

using platform::Separator;
using platform::withSeparator;

std::vector<std::string> driveNames(const std::vector<platform::Volume>& volumes) {
    std::vector<std::string> drives;
    if (Separator == '/') drives.push_back("/");  // the root of the tree is always there
    for (const platform::Volume& volume : volumes)
        if (std::find(drives.begin(), drives.end(), volume.root) == drives.end())
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
        items.push_back({shownName(folder.substr(start, end - start)), folder.substr(0, end),
                         items.back().depth + 1});
        start = end + 1;
    }
    sortInListOrder(subfolders);
    const int depth = items.back().depth + 1;
    for (std::string& name : subfolders)
        items.push_back({shownName(name), withSeparator(folder) + name, depth});
    return items;
}

}  // namespace folderBrowser

FolderBrowser::FolderBrowser(FolderBrowserView& view, std::string pattern,
                             platform::FileAccess& files)
    : m_view(view),
      m_pattern(std::move(pattern)),
      m_access(files),
      m_drives(folderBrowser::driveNames(files.mountedVolumes())) {
    load(m_access.currentFolder(""));
}

std::optional<platform::Error> FolderBrowser::chooseDrive(int index) {
    if (index == m_drive || index < 0 || index >= int(m_drives.size())) return std::nullopt;
    m_drive = index;
    m_view.driveShown();
    return openFolder(currentFolderOn(index));
}

std::optional<platform::Error> FolderBrowser::chooseDriveNamed(const std::string& name) {
    const auto found = std::find(m_drives.begin(), m_drives.end(), name);
    if (found == m_drives.end()) return std::nullopt;
    return chooseDrive(int(found - m_drives.begin()));
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
    const std::optional<std::string> full = m_access.fullPath(path);
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
    m_folders = folderBrowser::folderItems(m_path, std::move(entries.folders));
    m_openRow = int(m_folders.size() - subfolderCount) - 1;  // the last ancestor
    m_files = listedFiles(std::move(entries.files), m_pattern);
    m_drive = folderBrowser::driveHolding(m_drives, m_path);
    return std::nullopt;
}

std::string FolderBrowser::rootFolderOf(const std::string& drive) const {
    return m_access.fullPath(drive + platform::Separator).value_or(drive);
}

std::string FolderBrowser::currentFolderOn(int drive) const {
    const std::string& name = m_drives[std::size_t(drive)];
    const std::string current = m_access.currentFolder(name);
    return folderBrowser::driveHolding(m_drives, current) == drive ? current : rootFolderOf(name);
}
