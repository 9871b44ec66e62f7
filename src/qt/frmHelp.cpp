#include "qt/frmHelp.h"

#include "qt/Controls.h"

namespace design = frmHelpDesign;

frmHelp::frmHelp()
    : m_window(new QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                        Qt::WindowCloseButtonHint)) {
    QWidget* window = m_window;
    window->setObjectName("frmHelp");
    window->setAttribute(Qt::WA_DeleteOnClose);  // the close box destroys it, as Close does
    window->setWindowTitle(design::Caption);
    window->setFixedSize(twips::toPixels(design::ClientWidth),
                         twips::toPixels(design::ClientHeight));
    Label1 = makeLabel(window, "Label1", design::Paragraph1, design::Label1);
    Label2 = makeLabel(window, "Label2", design::Paragraph2, design::Label2);
    Label3 = makeLabel(window, "Label3", design::Paragraph3, design::Label3);
    for (QLabel* paragraph : {Label1, Label2, Label3}) paragraph->setWordWrap(true);
    cmdClose = makeButton(window, "cmdClose", design::CloseCaption, design::cmdClose);
    lblVersion = makeLabel(window, "lblVersion", design::VersionPlaceholder, design::lblVersion);
    QObject::connect(cmdClose, &QPushButton::clicked, window, &QWidget::close);
    centreOnScreen(window);
}

void frmHelp::setVersionLine(const std::string& text) {
    lblVersion->setText(QString::fromStdString(text));
}

void frmHelp::showInFront() {
    if (m_window->isVisible()) m_window->raise();
    m_window->show();
    m_window->activateWindow();
}
