#pragma once

#include "wizard/PageFlow.h"

#include <QString>

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
};

} // namespace vexa
