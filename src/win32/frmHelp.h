#pragma once

// The help window on the Windows API: what Kelvane does, how to use it, and
// its version. There is at most one; Close destroys it and the next Help
// builds a new one.

namespace frmHelp {

// Shows the help window, creating and loading it if there is none.
void open();

}  // namespace frmHelp
