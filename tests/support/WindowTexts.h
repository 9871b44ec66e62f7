#pragma once

// What the windows show, word for word, held against both front ends: each
// window's caption and its controls' captions by the design's names, the
// help text, and the version strings of kelvane.exe's version resource.

#include <string>
#include <utility>
#include <vector>

#include "AppIdentity.h"

struct ShownText {
    const char* window;   // frmExtend, frmConverting or frmHelp
    const char* control;  // "" for the window's own caption
    const char* text;
};

inline constexpr ShownText ShownTexts[] = {
    {"frmExtend", "", "Kelvane"},
    {"frmExtend", "Label1",
     "Increases the number of history files while preserving existing history"},
    {"frmExtend", "Label2", "New &Number of History Files"},
    {"frmExtend", "fraTrendLocation", "Trends Location"},
    {"frmExtend", "lblMultiSelect", "Hold the Control key to select multiple trends"},
    {"frmExtend", "cmdOK", "OK"},
    {"frmExtend", "cmdClose", "Close"},
    {"frmExtend", "cmdHelp", "Help"},
    {"frmConverting", "", "Kelvane"},
    {"frmConverting", "Label1", "Converting Trends..."},
    {"frmHelp", "", "Help"},
    {"frmHelp", "Label1",
     "Kelvane increases the number of history files for existing trends. Changing the number "
     "of files specified in the Trend Tags form normally does not take effect until the "
     "existing files are deleted. This utility modifies the trend HST file's max number of "
     "files setting so Velmar will create an additional file each time the trend rolls over. "
     "This allows the existing data files to continue to be used."},
    {"frmHelp", "Label2",
     "Copy the 2 and/or 8-byte trend .HST files that you wish to extend into a folder. Select "
     "that folder in the Kelvane and select the trend files to modify. Enter the desired new "
     "number of history files and click OK to begin converting."},
    {"frmHelp", "Label3",
     "When the process is complete, shut down the trend server and back up the trend files. "
     "Replace the old HST files with the new ones. You MUST also edit the Trend Tags list in "
     "your project and enter the new number of files for the affected trends (press F2 for "
     "extended options). Finally, compile the project and run it. If a redundant server "
     "exists, you may then shut it down and copy the trend files from the first server onto "
     "it."},
    {"frmHelp", "cmdClose", "Close"},
};

// The version resource's strings; its version is major.minor.revision with
// the minor in two digits and the revision in four.
inline std::vector<std::pair<std::string, std::string>> versionStrings() {
    auto padded = [](int number, std::size_t digits) {
        const std::string text = std::to_string(number);
        return std::string(digits > text.size() ? digits - text.size() : 0, '0') + text;
    };
    const std::string version = std::to_string(identity::Major) + "." + padded(identity::Minor, 2) +
                                "." + padded(identity::Revision, 4);
    return {{"FileDescription", "Kelvane"}, {"ProductName", "Kelvane"},
            {"InternalName", "Kelvane"},    {"FileVersion", version},
            {"ProductVersion", version},    {"Comments", "Trend file extender"}};
}
