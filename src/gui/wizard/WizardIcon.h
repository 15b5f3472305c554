#pragma once

#include <QIcon>

namespace vexa {

// The program's icon, drawn once: a coffee cup in the preview page's colours.
QIcon wizardIcon();

} // namespace vexa
