#pragma once

// Text as Windows takes it: UTF-16, for the UTF-8 the rest of the program
// uses. Built on Windows only.

#include <optional>
#include <string>

namespace platform {

// Nothing when `utf8` is not valid UTF-8, so that no name is ever taken for
// another under a replaced character.
std::optional<std::wstring> toUtf16(const std::string& utf8);

// Nothing when `utf16` holds an unpaired surrogate, for the same reason.
std::optional<std::string> toUtf8(const std::wstring& utf16);

}  // namespace platform
