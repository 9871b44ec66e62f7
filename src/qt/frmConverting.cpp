#include "qt/frmConverting.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QPointer>
#include <QThread>
#include <QWindow>

#include "forms/frmConverting.h"
#include "qt/Controls.h"
#include "qt/Toolkit.h"

namespace design = frmConvertingDesign;

namespace {

QPointer<frmConverting> theWindow;

// Over the main window when there is one, else in the middle of the screen.
void placeOver(QWidget* main, QWidget& window) {
    if (!main) return centreOnScreen(&window);
    const QRect frame = main->frameGeometry();
    const twips::PixelRect place =
        design::placeOver({frame.x(), frame.y(), frame.width(), frame.height()},
                          window.frameGeometry().width(), window.frameGeometry().height());
    window.move(place.left, place.top);
}

// A window manager exposes a new window some time after it is mapped; the
// first name must not be drawn before that. User input waits meanwhile.
void waitUntilExposed(QWidget& window) {
    const QDeadlineTimer deadline(1000);
    while (!window.windowHandle()->isExposed() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QThread::msleep(2);
    }
}

}  // namespace

frmConverting& frmConverting::instance() {
    if (!theWindow) theWindow = new frmConverting;
    return *theWindow;
}

frmConverting* frmConverting::existing() { return theWindow; }

// A dialog in the window manager's eyes, so that it can stand over the main
// window; never modal.
frmConverting::frmConverting()
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint) {
    setObjectName("frmConverting");
    setAttribute(Qt::WA_ShowWithoutActivating);  // the keyboard stays in the main window
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
    QWidget* main = m_owner && m_owner->isVisible() ? m_owner : nullptr;
    // Blank until the run names its first file: waiting to be exposed below
    // lets the window paint, and it must not paint the last run's last name.
    window.lblFileName->clear();
    window.winId();  // the native window, to be told which window it stands over
    // Kept above the main window by the window manager, even when a message
    // box raises the main window; it still blocks nothing.
    window.windowHandle()->setTransientParent(main ? main->windowHandle() : nullptr);
    if (!window.placed) placeOver(main, window);
    window.placed = true;  // where it was, or where the user moved it, from then on
    window.show();
    waitUntilExposed(window);
}

void ConvertingView::setProgressFileName(const std::string& text) {
    QLabel* label = frmConverting::instance().lblFileName;
    label->setText(QString::fromStdString(text));
    label->repaint();  // on screen before the file is opened, whatever the event pass does
}

void ConvertingView::hideProgress() { frmConverting::instance().hide(); }

void ConvertingView::showMessage(const std::string& text, MessageIcon icon) {
    toolkit::showMessage(QString::fromStdString(text), icon);
}

void ConvertingView::doEvents() { toolkit::doEvents(); }
