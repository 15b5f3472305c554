#include "SystemProcessStarter.h"

#include <QProcess>

namespace vexa {

bool SystemProcessStarter::startDetached(const QString &program, const QStringList &arguments)
{
    return !program.isEmpty() && QProcess::startDetached(program, arguments);
}

} // namespace vexa
