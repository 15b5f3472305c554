#pragma once

#include "ProcessStarter.h"

namespace vexa {

// Starts real processes, without a shell: each argument reaches the program as is. A
// launcher such as xdg-open hands the page over and ends at once, with a status that
// tells whether it could; a program still running after a moment is a browser at work
// and is left to run, also after this program ends.
class SystemProcessStarter : public ProcessStarter {
public:
    static constexpr int QuickFailureMs = 1500;
    QString start(const QString &program, const QStringList &arguments) override;
};

} // namespace vexa
