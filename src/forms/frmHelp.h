#pragma once

// The help window: its design, and what it needs of a front end.

#include <string>

#include "forms/Twips.h"
#include "trends/ProductRules.h"

namespace frmHelpDesign {

inline constexpr double ClientWidth = 5790, ClientHeight = 4815;
inline constexpr twips::Rect Label1{120, 480, 5445, 1215};
inline constexpr twips::Rect Label2{120, 1800, 5535, 855};
inline constexpr twips::Rect Label3{120, 2760, 5415, 1335};
inline constexpr twips::Rect cmdClose{4320, 4200, 1335, 495};
inline constexpr twips::Rect lblVersion{120, 120, 3975, 255};

inline constexpr const char* Caption = "Help";
inline constexpr const char* CloseCaption = "Close";
inline constexpr const char* VersionPlaceholder = "<Version>";

inline constexpr const char* Paragraph1 =
    "Kelvane increases the number of history files for existing trends. Changing the number of "
    "files specified in the Trend Tags form normally does not take effect until the existing "
    "files are deleted. This utility modifies the trend HST file's max number of files setting "
    "so Velmar will create an additional file each time the trend rolls over. This allows the "
    "existing data files to continue to be used.";
inline constexpr const char* Paragraph2 =
    "Copy the 2 and/or 8-byte trend .HST files that you wish to extend into a folder. Select "
    "that folder in the Kelvane and select the trend files to modify. Enter the desired new "
    "number of history files and click OK to begin converting.";
inline constexpr const char* Paragraph3 =
    "When the process is complete, shut down the trend server and back up the trend files. "
    "Replace the old HST files with the new ones. You MUST also edit the Trend Tags list in your "
    "project and enter the new number of files for the affected trends (press F2 for extended "
    "options). Finally, compile the project and run it. If a redundant server exists, you may "
    "then shut it down and copy the trend files from the first server onto it.";

}  // namespace frmHelpDesign

// What the help window needs of a front end: one window of the design,
// which the user's Close or close box destroys; the object destroys it too
// if it is still open.
class HelpWindow {
public:
    virtual ~HelpWindow() = default;
    virtual bool isOpen() const = 0;
    virtual void setVersionLine(const std::string& text) = 0;
    // Shown, brought to the front and activated.
    virtual void showInFront() = 0;
    virtual void focusClose() = 0;
};
