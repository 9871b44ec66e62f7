#pragma once

// kelvane-cli: the run of the window program from a command line, over the
// same core and the same rules, with a look at the headers before a change.

#include <string>
#include <vector>

#include "platform/FileAccess.h"

namespace cli {

// Where the program writes, in UTF-8.
class Console {
public:
    virtual ~Console() = default;
    virtual void out(const std::string& text) = 0;
    virtual void err(const std::string& text) = 0;
    // True when standard error is a terminal, where progress is shown.
    virtual bool errIsTerminal() const = 0;
    // Writes out what standard output still holds; false when any of what
    // was given to out() could not be written.
    virtual bool flushOut() = 0;
    // The signal that asked the program to end (SIGINT 2, SIGTERM 15,
    // SIGHUP 1, or their like on Windows), 0 while none has.
    virtual int interrupted() const { return 0; }
};

// The exit statuses.
inline constexpr int Done = 0;          // every file extended or skipped (shown)
inline constexpr int InvalidFiles = 1;  // some file was not a valid trend file
inline constexpr int UsageError = 2;    // nothing was opened
inline constexpr int Stopped = 3;       // a failure stopped the run
inline constexpr int ReportLost = 4;    // done, but standard output could not be written
// Plus the signal's number: the program was asked to end before all was treated.
inline constexpr int Interrupted = 128;

// Runs `arguments` (without the program's name); returns the exit status.
int run(const std::vector<std::string>& arguments, Console& console,
        platform::FileAccess& files = platform::nativeFileAccess());

}  // namespace cli
