#include "trends/FileTools.h"

std::string AddBackslash(const std::string& path) {
    if (!path.empty() && path.back() == '\\') return path;
    return path + '\\';
}

std::string StripExtension(const std::string& name) {
    const auto dot = name.rfind('.');
    if (dot == std::string::npos) return name;
    const auto backslash = name.rfind('\\');
    if (backslash != std::string::npos && backslash > dot) return name;
    return name.substr(0, dot);
}
