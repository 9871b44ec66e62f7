#define WIN32_LEAN_AND_MEAN
#include <windows.h>

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

}  // namespace platform
