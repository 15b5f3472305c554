#pragma once

#include "WalkFlags.h"

#include <QString>

#include <functional>

namespace vexa {

class Folders;
class Services;
class SettingsStore;

// What a page works with: the store, the installation folders, the services and
// the walk state the main window owns (current applet and wizard flags).
struct PageContext {
    SettingsStore &store;
    Folders &folders;
    Services &services;
    QString appletId;
    WalkFlags flags;
    // The window's status line: a short note of what an operation did, with a folder the
    // user can open from it (or none). Empty where no window shows one.
    std::function<void(const QString &text, const QString &folder)> showStatus = {};
    // Runs the applet in the window's applet viewer (nothing where no window runs one).
    std::function<void()> runApplet = {};

    void status(const QString &text, const QString &folder = QString()) const
    {
        if (showStatus)
            showStatus(text, folder);
    }
};

} // namespace vexa
