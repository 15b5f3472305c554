#pragma once

#include "ProcessStarter.h"

namespace vexa {

// Starts real processes, without a shell: each argument reaches the program as is.
class SystemProcessStarter : public ProcessStarter {
public:
    bool startDetached(const QString &program, const QStringList &arguments) override;
};

} // namespace vexa
