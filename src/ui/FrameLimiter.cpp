#include "FrameLimiter.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

FrameLimiter::FrameLimiter(QWidget* window) : QObject(window), m_window(window) {
    m_nextFrame.setSingleShot(true);
    m_nextFrame.setTimerType(Qt::PreciseTimer);
    connect(&m_nextFrame, &QTimer::timeout, this,
            [this] { QCoreApplication::postEvent(m_window, new QEvent(QEvent::UpdateRequest)); });
    window->installEventFilter(this);
}

// Qt paints a widget window when it handles the UpdateRequest posted after a
// change; one that comes too soon after the last frame waits for the next.
bool FrameLimiter::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_window || event->type() != QEvent::UpdateRequest) return false;
    if (!m_sinceFrame.isValid() || m_sinceFrame.elapsed() >= FrameMilliseconds) {
        m_sinceFrame.restart();
        return false;
    }
    if (!m_nextFrame.isActive()) m_nextFrame.start(int(FrameMilliseconds - m_sinceFrame.elapsed()));
    return true;
}
