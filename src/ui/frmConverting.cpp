#include "frmConverting.h"

#include <QPointer>

#include "Controls.h"
#include "FrameLimiter.h"
#include "Toolkit.h"

namespace {

// Designed geometry, in twips.
constexpr double ClientWidth = 4680, ClientHeight = 855;
constexpr twips::Rect Label1Rect{120, 120, 2895, 255};
constexpr twips::Rect FileNameRect{120, 480, 4455, 255};

QPointer<frmConverting> theWindow;

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const twips::Rect& rect) {
    auto* label = makeControl<QLabel>(parent, name, rect);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    // Fixed: the label never grows with its text, and a fixed size spares
    // every new name a layout request.
    label->setFixedSize(label->size());
    return label;
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
    setFixedSize(twips::toPixels(ClientWidth), twips::toPixels(ClientHeight));
    Label1 = makeLabel(this, "Label1", "Converting Trends...", Label1Rect);
    lblFileName = makeLabel(this, "lblFileName", QString(), FileNameRect);
    new FrameLimiter(this);
    centreOnScreen(this);
}

void ConvertingView::showProgress() {
    frmConverting& window = frmConverting::instance();
    if (window.isVisible()) window.raise();
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
