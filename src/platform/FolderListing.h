#pragma once

#include <string>
#include <vector>

namespace platform {

// The names of the regular files in `folder`, links to regular files
// included, in no particular order. Names are the file system's own bytes on
// POSIX and UTF-8 on Windows; `folder` is given the same way. A folder that
// cannot be read gives no names.
std::vector<std::string> regularFileNames(const std::string& folder);

}  // namespace platform
