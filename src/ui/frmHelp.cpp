#include "frmHelp.h"

#include <QPointer>

#include "AppIdentity.h"
#include "Controls.h"

namespace {

// Designed geometry, in twips.
constexpr double ClientWidth = 5790, ClientHeight = 4815;
constexpr twips::Rect Label1Rect{120, 480, 5445, 1215};
constexpr twips::Rect Label2Rect{120, 1800, 5535, 855};
constexpr twips::Rect Label3Rect{120, 2760, 5415, 1335};
constexpr twips::Rect CloseRect{4320, 4200, 1335, 495};
constexpr twips::Rect VersionRect{120, 120, 3975, 255};

const char* const Paragraph1 =
    "Kelvane increases the number of history files for existing trends. Changing the number of "
    "files specified in the Trend Tags form normally does not take effect until the existing "
    "files are deleted. This utility modifies the trend HST file's max number of files setting "
    "so Velmar will create an additional file each time the trend rolls over. This allows the "
    "existing data files to continue to be used.";
const char* const Paragraph2 =
    "Copy the 2 and/or 8-byte trend .HST files that you wish to extend into a folder. Select "
    "that folder in the Kelvane and select the trend files to modify. Enter the desired new "
    "number of history files and click OK to begin converting.";
const char* const Paragraph3 =
    "When the process is complete, shut down the trend server and back up the trend files. "
    "Replace the old HST files with the new ones. You MUST also edit the Trend Tags list in your "
    "project and enter the new number of files for the affected trends (press F2 for extended "
    "options). Finally, compile the project and run it. If a redundant server exists, you may "
    "then shut it down and copy the trend files from the first server onto it.";

QPointer<frmHelp> theWindow;

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const twips::Rect& rect,
                  bool wrap) {
    auto* label = makeControl<QLabel>(parent, name, rect);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(wrap);
    return label;
}

}  // namespace

QString VersionLine(const QString& title, int major, int minor, int revision,
                    const QString& comments) {
    auto padded = [](int number, int digits) {
        return QString("%1").arg(number, digits, 10, QChar('0'));
    };
    return QString("%1 version %2.%3.%4 %5")
        .arg(title, QString::number(major), padded(minor, 2), padded(revision, 3), comments);
}

void frmHelp::open() {
    if (!theWindow) {
        theWindow = new frmHelp;
        theWindow->Form_Load();
    }
    if (theWindow->isVisible()) theWindow->raise();
    theWindow->show();
    theWindow->activateWindow();
}

frmHelp* frmHelp::existing() { return theWindow; }

frmHelp::frmHelp()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint) {
    setObjectName("frmHelp");
    setAttribute(Qt::WA_DeleteOnClose);  // the close box destroys it, as Close does
    setWindowTitle("Help");
    setFixedSize(twips::toPixels(ClientWidth), twips::toPixels(ClientHeight));
    Label1 = makeLabel(this, "Label1", Paragraph1, Label1Rect, true);
    Label2 = makeLabel(this, "Label2", Paragraph2, Label2Rect, true);
    Label3 = makeLabel(this, "Label3", Paragraph3, Label3Rect, true);
    cmdClose = makeControl<QPushButton>(this, "cmdClose", CloseRect);
    cmdClose->setText("Close");
    lblVersion = makeLabel(this, "lblVersion", "<Version>", VersionRect, false);
    for (QLabel* label : {Label1, Label2, Label3, lblVersion}) label->setFocusPolicy(Qt::NoFocus);
    cmdClose->setFocus();
    connect(cmdClose, &QPushButton::clicked, this, &frmHelp::cmdClose_Click);
    centreOnScreen(this);
}

void frmHelp::Form_Load() {
    lblVersion->setText(VersionLine(identity::Title, identity::Major, identity::Minor,
                                    identity::Revision, identity::Comments));
}

void frmHelp::cmdClose_Click() { close(); }
