#pragma once

// Lets a window repaint at most once per display frame. Changes made in
// between are kept and shown at the next frame, so the window always catches
// up; only the paints in between are saved. A repaint costs far more than a
// trend file step, and the run changes the progress window for every file.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class QWidget;

class FrameLimiter : public QObject {
public:
    static constexpr int FrameMilliseconds = 16;

    explicit FrameLimiter(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
    QElapsedTimer m_sinceFrame;
    QTimer m_nextFrame;
};
