#pragma once

// Screen readers' names for the controls that show none of their own,
// through Active Accessibility's annotation of their windows.

#include <span>

#include "forms/AccessibleNames.h"
#include "win32/Toolkit.h"

namespace accessibility {

// Gives each control of `window` in `names`, found by its identifier, its
// accessible name and description until `window` is destroyed.
void nameControls(HWND window, std::span<const AccessibleName> names);

}  // namespace accessibility
