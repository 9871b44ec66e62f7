#pragma once

// What a screen reader calls the controls a user reaches that show no name of
// their own: the three lists of the main window. Every other such control is
// named by what it shows: a button by its caption, the number box by the
// label before it, the progress window's file name by its text.

#include "forms/frmExtend.h"

struct AccessibleName {
    const char* control;      // the design's name of the control
    const char* name;         // what it is called
    const char* description;  // what else a user is told of it; "" for nothing
};

namespace frmExtendDesign {

inline constexpr AccessibleName AccessibleNames[] = {
    {"drvConvert", "Drive", ""},
    {"dirConvert", "Folder", ""},
    {"filConvert", "Trend files", MultiSelectCaption},  // the hint under it
};

}  // namespace frmExtendDesign
