#pragma once

// The progress window on Qt Widgets: a fixed heading and the name of the
// trend file the run is treating, over the main window.

#include <QLabel>
#include <QWidget>

#include "forms/frmConverting.h"

class frmConverting : public QWidget, public ConvertingWindow {
    Q_OBJECT
public:
    // `owner` is the main window, which the progress window stands over.
    explicit frmConverting(QWidget* owner);

    bool isShown() const override { return isVisible(); }
    void show() override;
    void hide() override { QWidget::hide(); }
    void setFileName(const std::string& text) override;
    void setHeading(const std::string& text, const twips::Rect& place) override;
    twips::PixelRect frame() const override;
    std::optional<twips::PixelRect> ownerFrame() const override;
    void moveTo(int left, int top) override { move(left, top); }
    void centreOnScreen() override;
    void allowClose(bool allowed) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* m_owner;
    QLabel* Label1;
    QLabel* lblFileName;
    bool m_closable = true;
};
