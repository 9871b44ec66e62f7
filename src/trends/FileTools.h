#pragma once

#include <string>

// File name helpers. Text is UTF-8; only "\" separates folders. UTF-8 never
// puts the byte of "\" or "." inside a longer character, so a byte search for
// them finds whole characters only.

// `path` with exactly one "\" at its end added when it does not end in one.
std::string AddBackslash(const std::string& path);

// `name` without its last extension: everything before the last "." that
// follows the last "\"; `name` unchanged when there is no such ".".
std::string StripExtension(const std::string& name);
