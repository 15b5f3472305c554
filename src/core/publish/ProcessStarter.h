#pragma once

#include <QString>
#include <QStringList>

namespace vexa {

// Starts a program without waiting for it. The browser launcher goes through this so
// tests can see what would run without running it.
class ProcessStarter {
public:
    virtual ~ProcessStarter() = default;
    // False when the program could not be started.
    virtual bool startDetached(const QString &program, const QStringList &arguments) = 0;
};

} // namespace vexa
