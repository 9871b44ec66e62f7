#pragma once

// The progress window on Qt Widgets: a fixed heading and the name of the
// trend file the run is treating. Created by the first run, afterwards
// shown and hidden.

#include <QLabel>
#include <QWidget>

#include "trends/Trends.h"

class frmConverting : public QWidget {
    Q_OBJECT
public:
    // The one progress window, created on first use.
    static frmConverting& instance();
    // The window if a run has created it, else nullptr.
    static frmConverting* existing();

private:
    frmConverting();
    friend class ConvertingView;

    QLabel* Label1;
    QLabel* lblFileName;
    bool placed = false;  // placed when first shown, then left where it is
};

// What a run shows: this progress window, message boxes and the event pass.
class ConvertingView : public RunView {
public:
    // `owner` is the main window, which the progress window stands over.
    explicit ConvertingView(QWidget* owner) : m_owner(owner) {}

    void showProgress() override;
    void setProgressFileName(const std::string& text) override;
    void hideProgress() override;
    void showMessage(const std::string& text, MessageIcon icon) override;
    void doEvents() override;

private:
    QWidget* m_owner;
};
