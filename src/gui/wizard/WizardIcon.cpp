#include "WizardIcon.h"

namespace vexa {

// The program's icon, the same pictures the desktop shows in its menus.
QIcon wizardIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/org.vexajava.VexaJava-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace vexa
