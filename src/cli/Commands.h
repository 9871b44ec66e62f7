#pragma once

// The two commands: a look at the headers, and the run.

#include "cli/CommandLine.h"
#include "cli/Options.h"

namespace cli {

// Prints each file's number of history files and kind code; opens nothing for writing.
int show(const Options& options, Console& console, platform::FileAccess& files);
// Runs over every file the PATHs stand for, as the window program does.
int extend(const Options& options, Console& console, platform::FileAccess& files);

}  // namespace cli
