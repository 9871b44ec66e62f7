#pragma once

// The main window as the user meets it, whatever draws it: its design and
// what its handlers decide. A front end implements ExtendWindow over the
// real controls, holds an ExtendForm and routes the controls' events to it.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "forms/FolderBrowser.h"
#include "forms/RunReport.h"
#include "forms/Twips.h"
#include "forms/frmConverting.h"
#include "forms/frmHelp.h"
#include "platform/Error.h"
#include "platform/FileAccess.h"
#include "trends/ProductRules.h"
#include "trends/Trends.h"

namespace frmExtendDesign {

// Designed geometry in twips, each relative to its container.
inline constexpr double ClientWidth = 5760, ClientHeight = 5835;
inline constexpr twips::Rect Label1{240, 240, 4770, 195};
inline constexpr twips::Rect Label2{240, 840, 1995, 195};
inline constexpr twips::Rect txtNoFiles{2520, 840, 855, 285};
inline constexpr twips::Rect fraTrendLocation{240, 1320, 5295, 3735};
inline constexpr twips::Rect fraPath{240, 480, 2175, 2775};         // in fraTrendLocation
inline constexpr twips::Rect drvConvert{0, 0, 2175, 315};           // in fraPath
inline constexpr twips::Rect dirConvert{0, 360, 2175, 2340};        // in fraPath
inline constexpr twips::Rect filConvert{2520, 480, 2535, 2625};     // in fraTrendLocation
inline constexpr twips::Rect lblMultiSelect{240, 3360, 4815, 255};  // in fraTrendLocation
inline constexpr twips::Rect fraButtons{1680, 5160, 3855, 495};
inline constexpr twips::Rect cmdOK{0, 120, 1215, 375};        // in fraButtons
inline constexpr twips::Rect cmdClose{1320, 120, 1215, 375};  // in fraButtons
inline constexpr twips::Rect cmdHelp{2640, 120, 1215, 375};   // in fraButtons

inline constexpr const char* Label1Caption =
    "Increases the number of history files while preserving existing history";
inline constexpr const char* Label2Caption = "New &Number of History Files";
inline constexpr const char* TrendLocationCaption = "Trends Location";
inline constexpr const char* MultiSelectCaption = "Hold the Control key to select multiple trends";
inline constexpr const char* OkCaption = "OK";
inline constexpr const char* CloseCaption = "Close";
inline constexpr const char* HelpCaption = "Help";
// What OK says when it cannot run.
inline constexpr const char* NoNumberMessage = "Please enter the number of files";
inline constexpr const char* NoSelectionMessage = "Please select one or more trend files";
inline constexpr const char* FilePattern = TrendFilePattern;

inline constexpr const char* StartDrive = "c:";
inline constexpr const char* StartFolder = "c:\\velmar\\data";

}  // namespace frmExtendDesign

// What the main form needs of a front end: the controls' contents, its
// boxes and event pass, the lists shown again, the windows it opens, and
// the program's end.
class ExtendWindow : public FolderBrowserView, public RunWindow {
public:
    virtual std::string numberText() const = 0;
    // GetSelectedItems of the file list.
    virtual std::vector<std::string> selectedFileNames() const = 0;
    // A modal box owned by this window, for every message, a run's too: a
    // box centred on its owner stays clear of the progress window, which
    // stands high over this one so that the box leaves its name in view.
    void showMessage(const std::string& text, MessageIcon icon) override = 0;
    virtual std::unique_ptr<ConvertingWindow> makeConvertingWindow() = 0;
    virtual std::unique_ptr<HelpWindow> makeHelpWindow() = 0;
    virtual void closeWindow() = 0;
    // Ends the program at once: returning into a run still on the stack
    // must not happen.
    virtual void endProgram() = 0;
};

// The main form owns the progress and help windows it opens, and the run
// under way, which Close makes durable before the program ends.
class ExtendForm {
public:
    explicit ExtendForm(ExtendWindow& window,
                        platform::FileAccess& access = platform::nativeFileAccess(),
                        const Clock& clock = systemClock());

    // Start-up: drive "c:", then folder "c:\velmar\data"; whichever is not
    // there is passed over in silence.
    void Form_Load();
    // The user picked drive `index`: the folder list follows, or the user is
    // told why not.
    void drvConvert_Change(int index);
    // Checks the number and the selection, then runs in the folder the file
    // list was read from. A second OK pressed during a run's event pass is
    // ignored.
    void cmdOK_Click();
    // Opens the one help window, its version line loaded, or brings the open
    // one to the front; the focus on its Close.
    void cmdHelp_Click();
    // Close: what a run under way changed is made durable, every window is
    // closed and the program ends.
    void CloseAll();

    // The three lists, which a front end shows and passes the user's gestures to.
    FolderBrowser& browser() { return m_browser; }
    const FolderBrowser& browser() const { return m_browser; }

private:
    ExtendWindow& m_window;
    const Clock& m_clock;
    FolderBrowser m_browser;
    RunUnderWay m_underWay;
    RunReport* m_report = nullptr;                 // the run's, while it goes on
    std::unique_ptr<ConvertingForm> m_converting;  // made by the first run
    std::unique_ptr<HelpWindow> m_help;
};
