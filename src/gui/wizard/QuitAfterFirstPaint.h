#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>

namespace vexa {

// For timing a start to its first painted window: installed on a window, it ends the event
// loop once that window has painted, without closing anything (and so without asking).
class QuitAfterFirstPaint : public QObject {
protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_painted) {
            m_painted = true;
            QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        }
        return false;
    }

private:
    bool m_painted = false;
};

} // namespace vexa
