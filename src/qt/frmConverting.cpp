#include "qt/frmConverting.h"

#include <QApplication>
#include <QPointer>

#include "forms/frmConverting.h"
#include "qt/Controls.h"
#include "qt/Toolkit.h"

namespace design = frmConvertingDesign;

namespace {

QPointer<frmConverting> theWindow;

// Over the main window when there is one, else in the middle of the screen.
void placeOverMainWindow(QWidget& window) {
    QWidget* main = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == "frmExtend" && top->isVisible()) main = top;
    if (!main) return centreOnScreen(&window);
    const QRect frame = main->frameGeometry();
    const twips::PixelRect place =
        design::placeOver({frame.x(), frame.y(), frame.width(), frame.height()},
                          window.frameGeometry().width(), window.frameGeometry().height());
    window.move(place.left, place.top);
}

}  // namespace

frmConverting& frmConverting::instance() {
    if (!theWindow) theWindow = new frmConverting;
    return *theWindow;
}

frmConverting* frmConverting::existing() { return theWindow; }

frmConverting::frmConverting()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint) {
    setObjectName("frmConverting");
    setWindowTitle(toolkit::AppTitle);
    setFixedSize(twips::toPixels(design::ClientWidth), twips::toPixels(design::ClientHeight));
    Label1 = makeLabel(this, "Label1", design::Label1Caption, design::Label1);
    lblFileName = makeLabel(this, "lblFileName", QString(), design::lblFileName);
    // Fixed: the label never grows with its text.
    for (QLabel* label : {Label1, lblFileName}) label->setFixedSize(label->size());
}

void ConvertingView::showProgress() {
    frmConverting& window = frmConverting::instance();
    if (window.isVisible()) return window.raise();
    placeOverMainWindow(window);
    window.show();
}

void ConvertingView::setProgressFileName(const std::string& text) {
    frmConverting::instance().lblFileName->setText(QString::fromStdString(text));
}

void ConvertingView::hideProgress() { frmConverting::instance().hide(); }

void ConvertingView::showMessage(const std::string& text, MessageIcon icon) {
    toolkit::showMessage(QString::fromStdString(text), icon);
}

void ConvertingView::doEvents() { toolkit::doEvents(); }
