#include "EventHook.h"

namespace vexa {

EventHook::EventHook(QObject *target, QEvent::Type type, std::function<bool(QEvent *)> take)
    : QObject(target), m_type(type), m_take(std::move(take))
{
}

EventHook *EventHook::install(QObject *target, QEvent::Type type, std::function<void()> action)
{
    if (!action) return installTaking(target, type, {});
    return installTaking(target, type, [action = std::move(action)](QEvent *) {
        action();
        return false;
    });
}

EventHook *EventHook::installTaking(QObject *target, QEvent::Type type, std::function<bool(QEvent *)> take)
{
    if (!target) return nullptr;
    auto *hook = new EventHook(target, type, std::move(take));
    target->installEventFilter(hook);
    return hook;
}

bool EventHook::eventFilter(QObject *watched, QEvent *event)
{
    return watched == parent() && event->type() == m_type && m_take && m_take(event);
}

} // namespace vexa
