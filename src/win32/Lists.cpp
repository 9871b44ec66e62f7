#include "win32/Lists.h"

#include <algorithm>
#include <utility>

#include "forms/frmExtend.h"
#include "platform/FileAccess.h"
#include "trends/FileTools.h"

namespace {

std::wstring lowerDrive(std::wstring path) {
    if (path.size() >= 2 && path[1] == L':') path[0] = wchar_t(towlower(path[0]));
    return path;
}

// The full form of `path`: "c:\data" for a folder, "c:\" for a drive root.
std::wstring fullPath(const std::wstring& path) {
    wchar_t buffer[32768];
    const DWORD length = GetFullPathNameW(path.c_str(), 32768, buffer, nullptr);
    std::wstring full = length && length < 32768 ? std::wstring(buffer, length) : path;
    while (full.size() > 3 && full.back() == L'\\') full.pop_back();
    return lowerDrive(full);
}

// `name` inside `folder`, joined as Windows joins them.
std::wstring childPath(const std::wstring& folder, const std::wstring& name) {
    return toolkit::widen(AddBackslash(toolkit::narrow(folder))) + name;
}

bool isRoot(const std::wstring& path) { return path.size() == 3 && path[1] == L':'; }

bool lessIgnoringCase(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), int(a.size()), b.c_str(), int(b.size()), TRUE) ==
           CSTR_LESS_THAN;
}

std::vector<std::wstring> subfolders(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    const std::wstring pattern = childPath(folder, L"*");
    HANDLE search = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found,
                                     FindExSearchLimitToDirectories, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring name = found.cFileName;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L"..")
            names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end(), lessIgnoringCase);
    return names;
}

// "*.hst" without regard to case; Windows' own matching would also take
// names whose short 8.3 form happens to end so.
bool matchesPattern(const std::wstring& name) {
    static const std::wstring suffix = toolkit::widen(frmExtendDesign::FilePattern).substr(1);
    return name.size() >= suffix.size() &&
           CompareStringOrdinal(name.c_str() + name.size() - suffix.size(), int(suffix.size()),
                                suffix.c_str(), int(suffix.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

void DriveList::attach(HWND combo) {
    m_combo = combo;
    wchar_t drives[512] = {};
    GetLogicalDriveStringsW(511, drives);
    for (const wchar_t* root = drives; *root; root += wcslen(root) + 1)
        SendMessageW(m_combo, CB_ADDSTRING, 0, LPARAM(lowerDrive(std::wstring(root, 2)).c_str()));
}

std::wstring DriveList::drive() const {
    const LRESULT index = SendMessageW(m_combo, CB_GETCURSEL, 0, 0);
    if (index < 0) return {};
    std::wstring text(std::size_t(SendMessageW(m_combo, CB_GETLBTEXTLEN, WPARAM(index), 0)), L'\0');
    SendMessageW(m_combo, CB_GETLBTEXT, WPARAM(index), LPARAM(text.data()));
    return text;
}

bool DriveList::select(const std::wstring& drive, bool& changed) {
    const LRESULT index =
        SendMessageW(m_combo, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(drive.c_str()));
    changed = index >= 0 && index != SendMessageW(m_combo, CB_GETCURSEL, 0, 0);
    if (index >= 0) SendMessageW(m_combo, CB_SETCURSEL, WPARAM(index), 0);
    return index >= 0;
}

void DriveList::showDriveOf(const std::wstring& path) {
    bool changed = false;
    select(lowerDrive(path.substr(0, 2)), changed);
}

std::wstring currentFolderOn(const std::wstring& drive) { return fullPath(drive); }

void DirList::attach(HWND list) { m_list = list; }

std::optional<platform::Error> DirList::setPath(const std::wstring& path) {
    const std::wstring full = fullPath(path);
    const DWORD attributes = GetFileAttributesW(full.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        // A drive root that is not there is a drive without a medium.
        return platform::errors::make(isRoot(full) ? platform::errors::DeviceUnavailable
                                                   : platform::errors::PathNotFound);
    }
    m_path = full;
    fill();
    return std::nullopt;
}

bool DirList::openSelected() {
    const LRESULT index = SendMessageW(m_list, LB_GETCURSEL, 0, 0);
    if (index < 0 || std::size_t(index) >= m_paths.size() || m_paths[std::size_t(index)] == m_path)
        return false;
    if (setPath(m_paths[std::size_t(index)])) fill();  // it went away since it was listed
    return true;
}

void DirList::fill() {
    SendMessageW(m_list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(m_list, LB_RESETCONTENT, 0, 0);
    m_paths.clear();
    auto add = [&](std::size_t depth, const std::wstring& name, const std::wstring& path) {
        SendMessageW(m_list, LB_ADDSTRING, 0,
                     LPARAM((std::wstring(depth * 3, L' ') + name).c_str()));
        m_paths.push_back(path);
    };
    // The ancestors from the root down, then the subfolders one step in.
    std::wstring sofar = m_path.substr(0, 3);
    add(0, sofar, sofar);
    std::size_t depth = 0;
    for (std::size_t start = 3; start < m_path.size();) {
        const std::size_t end = std::min(m_path.find(L'\\', start), m_path.size());
        const std::wstring name = m_path.substr(start, end - start);
        sofar = childPath(sofar, name);
        add(++depth, name, sofar);
        start = end + 1;
    }
    const LRESULT open = LRESULT(m_paths.size() - 1);
    for (const std::wstring& name : subfolders(m_path))
        add(depth + 1, name, childPath(m_path, name));
    SendMessageW(m_list, LB_SETCURSEL, WPARAM(open), 0);
    SendMessageW(m_list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(m_list, nullptr, TRUE);
}

void FileList::attach(HWND list) { m_list = list; }

void FileList::setPath(const std::wstring& folder) {
    std::vector<std::pair<std::wstring, std::string>> names;  // as shown, as the run takes it
    std::vector<std::string> found;
    try {
        found = platform::nativeFileAccess().openFolder(toolkit::narrow(folder))->list().files;
    } catch (const platform::Error&) {
    }
    for (std::string& name : found) {
        std::wstring shown = toolkit::widen(name);
        if (matchesPattern(shown)) names.emplace_back(std::move(shown), std::move(name));
    }
    std::sort(names.begin(), names.end(),
              [](const auto& a, const auto& b) { return lessIgnoringCase(a.first, b.first); });
    SendMessageW(m_list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(m_list, LB_RESETCONTENT, 0, 0);
    m_names.clear();
    for (auto& [shown, name] : names) {
        SendMessageW(m_list, LB_ADDSTRING, 0, LPARAM(shown.c_str()));
        m_names.push_back(std::move(name));
    }
    SendMessageW(m_list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(m_list, nullptr, TRUE);
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
