#pragma once

#include <QEvent>
#include <QObject>

#include <functional>

namespace vexa {

// Runs an action when a widget receives one kind of event, without subclassing the
// widget the page layout built. The event then goes on to the widget as usual, unless a
// taking action says it has taken it.
class EventHook : public QObject {
    Q_OBJECT

public:
    // The hook lives as long as `target`.
    static EventHook *install(QObject *target, QEvent::Type type, std::function<void()> action);
    // `take` sees each such event and returns whether it has taken it.
    static EventHook *installTaking(QObject *target, QEvent::Type type, std::function<bool(QEvent *)> take);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    EventHook(QObject *target, QEvent::Type type, std::function<bool(QEvent *)> take);

    QEvent::Type m_type;
    std::function<bool(QEvent *)> m_take;
};

} // namespace vexa
