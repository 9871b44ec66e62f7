#pragma once

// The help window on Qt Widgets: what Kelvane does, how to use it, and its
// version. Close, or the close box, destroys the window.

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

#include "forms/frmHelp.h"

class frmHelp : public HelpWindow {
public:
    frmHelp();
    ~frmHelp() override { delete m_window.data(); }

    bool isOpen() const override { return m_window && m_window->isVisible(); }
    void setVersionLine(const std::string& text) override;
    void showInFront() override;
    void focusClose() override { cmdClose->setFocus(); }

private:
    QPointer<QWidget> m_window;  // gone once the user closed it
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QPushButton* cmdClose;
    QLabel* lblVersion;
};
