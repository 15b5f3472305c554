#pragma once

#include <QString>
#include <QStringList>

namespace vexa {

// Starts a program and lets it run. The browser launcher goes through this so tests can
// see what would run without running it.
class ProcessStarter {
public:
    virtual ~ProcessStarter() = default;
    // Empty when the program started and did not fail at once; else what went wrong:
    // "cannot be started (reason)" or "ended with status N".
    virtual QString start(const QString &program, const QStringList &arguments) = 0;
};

} // namespace vexa
