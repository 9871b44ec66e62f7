#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <algorithm>
#include <vector>

#include "platform/Utf16.h"

namespace platform {

std::optional<std::wstring> toUtf16(const std::string& utf8) {
    if (utf8.empty()) return std::wstring();
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                           int(utf8.size()), nullptr, 0);
    if (length <= 0) return std::nullopt;
    std::wstring utf16(std::size_t(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), int(utf8.size()), utf16.data(),
                        length);
    return utf16;
}

std::optional<std::string> toUtf8(const std::wstring& utf16) {
    if (utf16.empty()) return std::string();
    const int length = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, utf16.data(),
                                           int(utf16.size()), nullptr, 0, nullptr, nullptr);
    if (length <= 0) return std::nullopt;
    std::string utf8(std::size_t(length), '\0');
    WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, utf16.data(), int(utf16.size()), utf8.data(),
                        length, nullptr, nullptr);
    return utf8;
}

namespace {

// The system's full path of a path that names no step of its own: a
// drive's or the process's current folder.
std::wstring systemFullPath(const std::wstring& path) {
    const DWORD length = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (length == 0) return L"";
    std::wstring full(length, L'\0');
    full.resize(GetFullPathNameW(path.c_str(), length, full.data(), nullptr));
    return full;
}

std::wstring absolutePath(const std::wstring& path) {
    const bool drive = path.size() >= 2 && path[1] == L':';
    if (path.starts_with(L"\\\\") || (drive && path.size() >= 3 && path[2] == L'\\')) return path;
    if (drive) return systemFullPath(path.substr(0, 2)) + L"\\" + path.substr(2);
    if (path.starts_with(L"\\")) return systemFullPath(L"\\").substr(0, 2) + path;
    return systemFullPath(L".") + L"\\" + path;
}

}  // namespace

std::wstring plainFullPath(const std::wstring& path) {
    std::wstring absolute = path;
    std::replace(absolute.begin(), absolute.end(), L'/', L'\\');
    if (absolute.starts_with(L"\\\\?\\")) return absolute;
    absolute = absolutePath(absolute);
    // The root: "c:", or "\\server\share", whose steps ".." never leaves.
    std::size_t rootEnd = 2;
    if (absolute.starts_with(L"\\\\")) {
        const std::size_t server = absolute.find(L'\\', 2);
        rootEnd = server == std::wstring::npos ? server : absolute.find(L'\\', server + 1);
        rootEnd = std::min(rootEnd, absolute.size());
    }
    std::vector<std::wstring> steps;
    for (std::size_t start = rootEnd; start < absolute.size();) {
        const std::size_t end = std::min(absolute.find(L'\\', start), absolute.size());
        const std::wstring step = absolute.substr(start, end - start);
        if (step == L"..") {
            if (!steps.empty()) steps.pop_back();
        } else if (!step.empty() && step != L".") {
            steps.push_back(step);
        }
        start = end + 1;
    }
    std::wstring full = absolute.substr(0, rootEnd);
    for (const std::wstring& step : steps) full += L"\\" + step;
    return steps.empty() ? full + L"\\" : full;
}

std::wstring extendedPath(const std::wstring& path) {
    const std::wstring full = plainFullPath(path);
    if (full.starts_with(L"\\\\?\\")) return full;
    // "\\.\" names the same objects as "\\?\", once its steps are made plain.
    if (full.starts_with(L"\\\\.\\")) return L"\\\\?\\" + full.substr(4);
    if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

}  // namespace platform
