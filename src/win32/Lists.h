#pragma once

// The three lists of the main window on the Windows API: the drive list (a
// drop-down of the machine's drives), the folder list (the open folder's
// ancestors and subfolders, indented) and the file list (the "*.hst" files
// of the open folder, extended multiple selection).

#include <optional>
#include <string>
#include <vector>

#include "forms/FormTools.h"
#include "platform/Error.h"
#include "win32/Toolkit.h"

class DriveList {
public:
    void attach(HWND combo);
    std::wstring drive() const;  // "c:"
    // False, changing nothing, for a drive the list does not offer; true and
    // selected otherwise. `changed` tells whether the selection moved.
    bool select(const std::wstring& drive, bool& changed);
    // Selects the drive that holds `path`, without a change event.
    void showDriveOf(const std::wstring& path);

private:
    HWND m_combo = nullptr;
};

class DirList {
public:
    void attach(HWND list);
    const std::wstring& path() const { return m_path; }  // "c:\data", "c:\"
    // Opens `path`; error 76 "Path not found" when it is no folder, 68
    // "Device unavailable" when its drive is not ready.
    std::optional<platform::Error> setPath(const std::wstring& path);
    // Opens the highlighted folder (double click or Enter); true when it moved.
    bool openSelected();

private:
    void fill();

    HWND m_list = nullptr;
    std::wstring m_path;
    std::vector<std::wstring> m_paths;  // one per item
};

class FileList : public SelectionList {
public:
    void attach(HWND list);
    void setPath(const std::wstring& folder);

    int selectedCount() const override;
    std::vector<int> selectedPositions(int count) const override;
    std::string itemText(int position) const override;

private:
    HWND m_list = nullptr;
    std::vector<std::string> m_names;  // UTF-8, in list order
};

// The current folder of `drive` ("c:"), as Windows keeps one per drive.
std::wstring currentFolderOn(const std::wstring& drive);
