#pragma once

// Screen readers' names for the controls that show none of their own.

#include <QWidget>
#include <span>

#include "forms/AccessibleNames.h"

namespace accessibility {

// Gives each control of `window` in `names`, found by its object name, its
// accessible name and description.
void nameControls(QWidget* window, std::span<const AccessibleName> names);

}  // namespace accessibility
