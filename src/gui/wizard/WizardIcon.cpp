#include "WizardIcon.h"

namespace vexa {

// The program's icon, the same pictures the desktop shows in its menus. Decoded once: the
// application and the window both ask for it at start-up. The desktop's large views take
// the installed icon theme; title bars and task lists show a window's icon at 64 pixels
// at most, and every size given is decoded at start-up.
QIcon wizardIcon()
{
    static const QIcon *icon = [] {
        auto *made = new QIcon; // kept to the end: taken apart after the application it could not be
        for (int size : {16, 24, 32, 48, 64})
            made->addFile(QStringLiteral(":/icons/org.vexajava.VexaJava-%1.png").arg(size), QSize(size, size));
        return made;
    }();
    return *icon;
}

} // namespace vexa
