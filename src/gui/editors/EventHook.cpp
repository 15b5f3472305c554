#include "EventHook.h"

namespace vexa {

EventHook::EventHook(QObject *target, QEvent::Type type, std::function<void()> action)
    : QObject(target), m_type(type), m_action(std::move(action))
{
}

EventHook *EventHook::install(QObject *target, QEvent::Type type, std::function<void()> action)
{
    if (!target) return nullptr;
    auto *hook = new EventHook(target, type, std::move(action));
    target->installEventFilter(hook);
    return hook;
}

bool EventHook::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parent() && event->type() == m_type && m_action) m_action();
    return false;
}

} // namespace vexa
