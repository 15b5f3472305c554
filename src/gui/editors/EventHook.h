#pragma once

#include <QEvent>
#include <QObject>

#include <functional>

namespace vexa {

// Runs an action when a widget receives one kind of event, without subclassing the
// widget the page layout built. The event then goes on to the widget as usual.
class EventHook : public QObject {
    Q_OBJECT

public:
    // The hook lives as long as `target`.
    static EventHook *install(QObject *target, QEvent::Type type, std::function<void()> action);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    EventHook(QObject *target, QEvent::Type type, std::function<void()> action);

    QEvent::Type m_type;
    std::function<void()> m_action;
};

} // namespace vexa
