#include "Reporter.h"

#include "strings/StringTable.h"

#include <utility>

namespace vexa {

Message message(int id, MessageIcon icon) { return Message{id, StringTable::text(id), icon}; }

void HoldingReporter::report(const Message &message)
{
    if (m_target)
        m_target->report(message);
    else
        m_held.append(message);
}

void HoldingReporter::forwardTo(Reporter &target)
{
    m_target = &target;
    for (const Message &held : std::exchange(m_held, {}))
        target.report(held);
}

bool RecordingReporter::has(int id) const { return ids().contains(id); }

QList<int> RecordingReporter::ids() const
{
    QList<int> result;
    for (const Message &m : messages)
        result.append(m.id);
    return result;
}

} // namespace vexa
