// Helper for the crash test: extends every file of a folder, quietly.
//   crash_run FOLDER COUNT NEW_COUNT   (files f0000.hst ... in order)

#include <cstdio>
#include <cstdlib>

#include "TrendFixtures.h"

int main(int argc, char* argv[]) {
    if (argc != 4) return 2;
    std::vector<std::string> names;
    for (int i = 0; i < std::atoi(argv[2]); ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "f%04d.hst", i);
        names.push_back(name);
    }
    QuietView view;
    ExtendTrends(view, argv[1], names, std::atoi(argv[3]));
    return 0;
}
