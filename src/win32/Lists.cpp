#include "win32/Lists.h"

#include "trends/FileTools.h"

namespace {

// Fills a list without drawing each step; `add` adds the items.
template <typename Add>
void refill(HWND list, UINT reset, Add add) {
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, reset, 0, 0);
    add();
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

}  // namespace

namespace lists {

void showDrives(HWND combo, const std::vector<std::string>& drives) {
    refill(combo, CB_RESETCONTENT, [&] {
        for (const std::string& drive : drives)
            SendMessageW(combo, CB_ADDSTRING, 0, LPARAM(toolkit::widen(drive).c_str()));
    });
}

void showFolders(HWND list, const std::vector<folderBrowser::FolderItem>& items, int openRow) {
    refill(list, LB_RESETCONTENT, [&] {
        for (const folderBrowser::FolderItem& item : items) {
            const std::wstring indented =
                std::wstring(std::size_t(item.depth) * 3, L' ') + toolkit::widen(item.name);
            SendMessageW(list, LB_ADDSTRING, 0, LPARAM(indented.c_str()));
        }
    });
    SendMessageW(list, LB_SETCURSEL, WPARAM(openRow), 0);
}

}  // namespace lists

void FileList::showFiles(const std::vector<std::string>& names) {
    m_names = names;
    refill(m_list, LB_RESETCONTENT, [&] {
        for (const std::string& name : m_names)
            SendMessageW(m_list, LB_ADDSTRING, 0, LPARAM(toolkit::widen(shownName(name)).c_str()));
    });
}

int FileList::selectedCount() const { return int(SendMessageW(m_list, LB_GETSELCOUNT, 0, 0)); }

std::vector<int> FileList::selectedPositions(int count) const {
    std::vector<int> positions(static_cast<std::size_t>(count));
    const LRESULT written =
        SendMessageW(m_list, LB_GETSELITEMS, WPARAM(count), LPARAM(positions.data()));
    positions.resize(written > 0 ? std::size_t(written) : 0);
    return positions;
}

std::string FileList::itemText(int position) const { return m_names.at(std::size_t(position)); }
