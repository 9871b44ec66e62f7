#pragma once

// Screen readers' names for the controls that show none of their own,
// through Active Accessibility's annotation of their windows.

#include <oleacc.h>

#include <span>
#include <string>
#include <vector>

#include "forms/AccessibleNames.h"
#include "win32/Toolkit.h"

namespace accessibility {

// One property of one control, as the annotation service is to hold it.
struct Annotation {
    HWND control;
    MSAAPROPID property;
    std::wstring text;
    bool operator==(const Annotation& other) const {
        return control == other.control && IsEqualGUID(property, other.property) &&
               text == other.text;
    }
};

// What each control of `window` in `names`, found by its identifier, is to
// be called and described as.
std::vector<Annotation> annotationsOf(HWND window, std::span<const AccessibleName> names);

// Gives the controls their annotations until `window` is destroyed.
void nameControls(HWND window, std::span<const AccessibleName> names);

}  // namespace accessibility
