#include "qt/frmHelp.h"

#include <QPointer>

#include "forms/frmHelp.h"
#include "qt/Controls.h"

namespace design = frmHelpDesign;

namespace {

QPointer<frmHelp> theWindow;

}  // namespace

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
    setWindowTitle(design::Caption);
    setFixedSize(twips::toPixels(design::ClientWidth), twips::toPixels(design::ClientHeight));
    Label1 = makeLabel(this, "Label1", design::Paragraph1, design::Label1);
    Label2 = makeLabel(this, "Label2", design::Paragraph2, design::Label2);
    Label3 = makeLabel(this, "Label3", design::Paragraph3, design::Label3);
    for (QLabel* paragraph : {Label1, Label2, Label3}) paragraph->setWordWrap(true);
    cmdClose = makeButton(this, "cmdClose", design::CloseCaption, design::cmdClose);
    lblVersion = makeLabel(this, "lblVersion", design::VersionPlaceholder, design::lblVersion);
    cmdClose->setFocus();
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
    centreOnScreen(this);
}

void frmHelp::Form_Load() { lblVersion->setText(QString::fromStdString(VersionLine())); }
