// The careful loop as a program of its own, called as kelvane-cli is:
//   careful_loop extend --to N FOLDER
// It lists FOLDER as the plain way does, makes the careful step on each
// file, writing its line to standard output as it goes, and flushes once.

#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "careful_step.h"

int main(int argc, char* argv[]) {
    if (argc != 5) return 2;
    const std::string folder = argv[4];
    const std::vector<std::string> names = readdirListing(folder);
    const OpenedFolder opened(folder);
    const auto count = std::int16_t(std::atoi(argv[3]));
    for (const std::string& name : names) fileStep(opened.fd, name, count, STDOUT_FILENO);
    return ::syncfs(opened.fd) == 0 ? 0 : 1;
}
