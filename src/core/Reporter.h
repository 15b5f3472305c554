#pragma once

#include "Message.h"

#include <QList>

namespace vexa {

// Where core operations send the messages they report. The wizard shows them as
// message boxes, the command-line front end writes them to standard error.
class Reporter {
public:
    virtual ~Reporter() = default;
    virtual void report(const Message &message) = 0;
};

// Keeps every reported message; used by tests and by callers that decide later
// whether to show what was reported.
class RecordingReporter : public Reporter {
public:
    void report(const Message &message) override { messages.append(message); }
    bool has(int id) const;
    QList<int> ids() const;
    void clear() { messages.clear(); }

    QList<Message> messages;
};

// Holds what is reported until there is somewhere to show it: the program reads its store
// before its window exists, and a problem found then must still reach the user.
class HoldingReporter : public Reporter {
public:
    void report(const Message &message) override;
    // From now on messages go to `target`, those held first, in their order.
    void forwardTo(Reporter &target);

private:
    Reporter *m_target = nullptr;
    QList<Message> m_held;
};

// Drops every message (for callers that only want the result).
class SilentReporter : public Reporter {
public:
    void report(const Message &) override {}
};

} // namespace vexa
