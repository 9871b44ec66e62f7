#pragma once

// The window program's command line: --help and --version answer without a
// window; anything else is refused.

// The exit status, or -1 to go on and open the window.
int answerCommandLine(int argc, char* argv[]);
