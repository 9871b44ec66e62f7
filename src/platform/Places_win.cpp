#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cwctype>

#include "platform/Places.h"
#include "platform/Utf16.h"

namespace platform {

std::vector<Volume> mountedVolumes() {
    std::vector<Volume> volumes;
    wchar_t drives[512] = {};
    GetLogicalDriveStringsW(511, drives);
    for (const wchar_t* root = drives; *root; root += wcslen(root) + 1)
        volumes.push_back({{char(std::towlower(root[0])), ':'}, "", ""});
    return volumes;
}

std::optional<std::string> fullPath(const std::string& path) {
    const std::optional<std::wstring> wide = toUtf16(path);
    if (!wide || wide->empty()) return std::nullopt;
    std::wstring full = plainFullPath(*wide);
    if (full.size() >= 2 && full[1] == L':') full[0] = wchar_t(std::towlower(full[0]));
    return toUtf8(full);
}

std::string currentFolder(const std::string& drive) {
    return fullPath(drive).value_or(drive + "\\");
}

}  // namespace platform
