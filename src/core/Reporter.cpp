#include "Reporter.h"

#include "strings/StringTable.h"

namespace vexa {

Message message(int id, MessageIcon icon) { return Message{id, StringTable::text(id), icon}; }

QString iconName(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Stop:
        return QStringLiteral("stop");
    case MessageIcon::Exclamation:
        return QStringLiteral("exclamation");
    case MessageIcon::Question:
        return QStringLiteral("question");
    }
    return QString();
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
