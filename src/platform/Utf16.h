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

// `path` made absolute and plain: "/" read as "\", no "." or ".." steps, no
// doubled or trailing separator but a root's ("c:\"). Unlike the system's
// own full path it keeps the dots and spaces that end a name, which the
// file system keeps too: "dot." is never taken for "dot".
std::wstring plainFullPath(const std::wstring& path);

// The same in the long form that is free of the 260-character limit: "\\?\";
// a "\\.\" path goes there too.
std::wstring extendedPath(const std::wstring& path);

}  // namespace platform
