#ifdef _WIN32

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "platform/FolderListing.h"
#include "platform/Utf16.h"

namespace platform {

std::vector<std::string> regularFileNames(const std::string& folder) {
    std::vector<std::string> names;
    const std::optional<std::wstring> wide = toUtf16(folder);
    if (!wide) return names;  // no folder has that name
    std::wstring pattern = *wide;
    if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/') pattern += L'\\';
    pattern += L'*';
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found,
                                     FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const DWORD notFiles = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE;
        if (!(found.dwFileAttributes & notFiles)) names.push_back(toUtf8(found.cFileName));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

}  // namespace platform

#endif
