#pragma once

#include <QStringList>

#include <memory>

#include <cstdio>

namespace vexa {

// vexajava-cli: the headless front end over the core. Exit status 0 on success,
// 1 on failure, 2 on wrong usage; messages go to standard error as the program's
// own texts.
class CliSession;

class CliCommands {
public:
    CliCommands(std::FILE *out, std::FILE *err);
    ~CliCommands();

    // `arguments` without the program name.
    int run(const QStringList &arguments);

    static QString helpText();

private:
    std::FILE *m_out;
    std::FILE *m_err;
    std::unique_ptr<CliSession> m_session; // the last command's store, kept until this object goes
};

} // namespace vexa
