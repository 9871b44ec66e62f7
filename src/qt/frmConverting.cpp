#include "qt/frmConverting.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <QWindow>

#include "qt/Controls.h"
#include "qt/Toolkit.h"

namespace design = frmConvertingDesign;

namespace {

twips::PixelRect pixelsOf(const QRect& rect) {
    return {rect.x(), rect.y(), rect.width(), rect.height()};
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

// A dialog in the window manager's eyes, so that it can stand over the main
// window; never modal.
frmConverting::frmConverting(QWidget* owner)
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint),
      m_owner(owner) {
    setObjectName("frmConverting");
    setAttribute(Qt::WA_ShowWithoutActivating);  // the keyboard stays in the main window
    setWindowTitle(toolkit::AppTitle);
    setFixedSize(twips::toPixels(design::ClientWidth), twips::toPixels(design::ClientHeight));
    Label1 = makeLabel(this, "Label1", design::Label1Caption, design::Label1);
    lblFileName = makeLabel(this, "lblFileName", QString(), design::lblFileName);
    // Fixed: the label never grows with its text.
    for (QLabel* label : {Label1, lblFileName}) label->setFixedSize(label->size());
}

void frmConverting::show() {
    if (isVisible()) return raise();
    winId();  // the native window, to be told which window it stands over
    // Kept above the main window by the window manager, even when a message
    // box raises the main window; it still blocks nothing.
    windowHandle()->setTransientParent(m_owner->isVisible() ? m_owner->windowHandle() : nullptr);
    QWidget::show();
    waitUntilExposed(*this);
}

void frmConverting::setFileName(const std::string& text) {
    lblFileName->setText(QString::fromStdString(text));
    lblFileName->repaint();  // on screen before the file is opened, whatever the event pass does
}

void frmConverting::setHeading(const std::string& text, const twips::Rect& place) {
    const twips::PixelRect pixels = twips::toPixels(place);
    Label1->setFixedSize(pixels.width, pixels.height);
    Label1->setText(QString::fromStdString(text));
    Label1->repaint();
}

twips::PixelRect frmConverting::frame() const { return pixelsOf(frameGeometry()); }

std::optional<twips::PixelRect> frmConverting::ownerFrame() const {
    if (!m_owner->isVisible()) return std::nullopt;
    return pixelsOf(m_owner->frameGeometry());
}

void frmConverting::centreOnScreen() { ::centreOnScreen(this); }

// The close button goes while the window is hidden: changed on a window
// that shows, the flags would hide it.
void frmConverting::allowClose(bool allowed) {
    m_closable = allowed;
    if (!isVisible()) setWindowFlag(Qt::WindowCloseButtonHint, allowed);
}

void frmConverting::closeEvent(QCloseEvent* event) {
    if (!m_closable) return event->ignore();
    QWidget::closeEvent(event);
}
