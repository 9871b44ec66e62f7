// The careful loop as a program of its own, called as kelvane-cli is:
//   careful_loop extend --to N FOLDER
// It lists FOLDER, keeps the names ending in .hst, sorts them, makes the
// careful step on each and flushes once; it prints nothing.

#include <dirent.h>
#include <strings.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "careful_step.h"

int main(int argc, char* argv[]) {
    if (argc != 5) return 2;
    const std::string folder = argv[4];
    std::vector<std::string> names;
    DIR* listing = ::opendir(folder.c_str());
    if (!listing) return 1;
    while (const dirent* entry = ::readdir(listing)) {
        const std::string name = entry->d_name;
        if (name.size() > 4 && ::strcasecmp(name.c_str() + name.size() - 4, ".hst") == 0)
            names.push_back(name);
    }
    ::closedir(listing);
    std::sort(names.begin(), names.end());
    const OpenedFolder opened(folder);
    const auto count = std::int16_t(std::atoi(argv[3]));
    for (const std::string& name : names) fileStep(opened.fd, name, count);
    return ::syncfs(opened.fd) == 0 ? 0 : 1;
}
