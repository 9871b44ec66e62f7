#pragma once

// The drive list, the folder list and the file list of the main window, as
// one model that every front end shows: what each list holds, in which
// order, and how a change of drive or folder carries on to the next list.
// The folder the file list was read from stays open, and the run works in
// that very folder, whatever later happens to its path.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Error.h"
#include "platform/FileAccess.h"
#include "platform/Places.h"

namespace folderBrowser {

// The drives a user may pick: the volumes a user keeps files on, each once,
// the root of the tree always; sorted.
std::vector<std::string> driveNames(const std::vector<platform::Volume>& volumes);

// The position in `drives` of the innermost drive that holds `folder`, or -1.
int driveHolding(const std::vector<std::string>& drives, const std::string& folder);

struct FolderItem {
    std::string name;  // as shown: a root shows its whole path
    std::string path;
    int depth;  // 0 for the root
};

// The folder list of `folder`: its ancestors from the root down to it, then
// its `subfolders` in list order, one step further in.
std::vector<FolderItem> folderItems(const std::string& folder, std::vector<std::string> subfolders);

}  // namespace folderBrowser

// What a front end does when the lists change: show them again.
class FolderBrowserView {
public:
    virtual ~FolderBrowserView() = default;
    virtual void driveShown() = 0;  // the selected drive moved
    virtual void foldersShown() = 0;
    virtual void filesShown() = 0;
};

class FolderBrowser {
public:
    // Offers the drives `files` tells of and opens the process's current
    // folder; the view is told nothing until a list changes after this.
    FolderBrowser(FolderBrowserView& view, std::string pattern, platform::FileAccess& files);

    const std::vector<std::string>& drives() const { return m_drives; }
    int drive() const { return m_drive; }  // -1 when none holds the folder
    const std::vector<folderBrowser::FolderItem>& folders() const { return m_folders; }
    int openFolderRow() const { return m_openRow; }
    const std::vector<std::string>& files() const { return m_files; }
    const std::string& path() const { return m_path; }
    // The folder the file list was read from; nullptr before any was read.
    std::shared_ptr<platform::Folder> folder() const { return m_folder; }

    // Selects drive `index`; when that is a change, the folder list opens
    // the drive's current folder. An error when the folder cannot be opened:
    // the drive stays selected, the other lists stay as they were.
    std::optional<platform::Error> chooseDrive(int index);
    // The same for the drive named `name`; nothing happens when none is offered.
    std::optional<platform::Error> chooseDriveNamed(const std::string& name);
    // Opens `path`: the folder list shows it, the file list its files, the
    // drive list quietly the drive that holds it. An error, changing
    // nothing, when it is no folder that can be read.
    std::optional<platform::Error> openFolder(const std::string& path);
    // Opens the folder of `row` in the folder list (double click or Enter);
    // one that went away since it was listed leaves the list read afresh.
    void openFolderAt(int row);

private:
    // Reads the folder at `path` into the lists, telling the view nothing.
    std::optional<platform::Error> load(const std::string& path);
    std::string rootFolderOf(const std::string& drive) const;
    // The drive's current folder when that lies on the drive, else its root.
    std::string currentFolderOn(int drive) const;

    FolderBrowserView& m_view;
    std::string m_pattern;
    platform::FileAccess& m_access;
    std::vector<std::string> m_drives;
    int m_drive = -1;
    std::string m_path;
    std::shared_ptr<platform::Folder> m_folder;
    std::vector<folderBrowser::FolderItem> m_folders;
    int m_openRow = -1;
    std::vector<std::string> m_files;
};
