#pragma once

// The three lists of the main window on the Windows API, showing what the
// browsing model holds: the drive list (a drop-down), the folder list (the
// open folder's ancestors and subfolders, indented) and the file list
// (extended multiple selection).

#include <string>
#include <vector>

#include "forms/FolderBrowser.h"
#include "forms/FormTools.h"
#include "win32/Toolkit.h"

namespace lists {

void showDrives(HWND combo, const std::vector<std::string>& drives);
void showFolders(HWND list, const std::vector<folderBrowser::FolderItem>& items, int openRow);

}  // namespace lists

class FileList : public SelectionList {
public:
    void attach(HWND list) { m_list = list; }
    void showFiles(const std::vector<std::string>& names);

    int selectedCount() const override;
    std::vector<int> selectedPositions(int count) const override;
    std::string itemText(int position) const override;

private:
    HWND m_list = nullptr;
    std::vector<std::string> m_names;  // as the model lists them, in list order
};
