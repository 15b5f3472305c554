#pragma once

#include "ProcessStarter.h"

#include <functional>

namespace vexa {

// Starts real processes, without a shell: each argument reaches the program as is. A
// launcher such as xdg-open hands the page over and ends at once, with a status that
// tells whether it could; a program still running after a moment is a browser at work
// and is left to run, also after this program ends.
class SystemProcessStarter : public ProcessStarter {
public:
    static constexpr int QuickFailureMs = 1500;
    using LateFailure = std::function<void(const QString &reason)>;

    // With `lateFailure`, start() does not wait for a quick failure: it returns once the
    // program runs, and a failure within QuickFailureMs reaches `lateFailure` later, from
    // the event loop.
    explicit SystemProcessStarter(LateFailure lateFailure = {}) : m_lateFailure(std::move(lateFailure)) {}
    QString start(const QString &program, const QStringList &arguments) override;

private:
    LateFailure m_lateFailure;
};

} // namespace vexa
