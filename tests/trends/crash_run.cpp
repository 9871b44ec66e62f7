// Helper for the crash test: extends every file of a folder, quietly, and
// prints when, in microseconds from its start, it began its last file.
//   crash_run FOLDER COUNT NEW_COUNT   (files f0000.hst ... in order)

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "TrendFixtures.h"

namespace {

using Clock = std::chrono::steady_clock;

struct TimedView : QuietView {
    Clock::time_point lastFile;
    void doEvents() override { lastFile = Clock::now(); }
};

}  // namespace

int main(int argc, char* argv[]) {
    const auto start = Clock::now();
    if (argc != 4) return 2;
    std::vector<std::string> names;
    for (int i = 0; i < std::atoi(argv[2]); ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "f%04d.hst", i);
        names.push_back(name);
    }
    TimedView view;
    ExtendTrends(view, argv[1], names, std::int16_t(std::atoi(argv[3])));
    const auto loop = std::chrono::duration_cast<std::chrono::microseconds>(view.lastFile - start);
    std::printf("%lld\n", static_cast<long long>(loop.count()));
}
