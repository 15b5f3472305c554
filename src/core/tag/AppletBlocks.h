#pragma once

#include "FixedLists.h"

#include <vector>

namespace vexa {

// How a stored text becomes a parameter value.
enum class Conversion {
    Plain,          // unchanged
    EmptyToNo,      // "" becomes "NO"
    UnlessEmpty,    // no line at all for ""
    List,           // visible list text -> its position in `list`
    Colour,         // hexadecimal, red in the low byte -> "RRGGBB"
    DivideBy16,     // integer / 16, written as unsigned 32-bit
    ImageList,      // Image_n, Link_n, StatusMsg_n for n = 1, 2, ...
    ImageListOnly,  // Image_n only
    ImageListFlip,  // Image_n, Link_n, StatusMsg_n, Flip_n
};

// One row of an applet's own block: key read, parameter written, conversion. A row
// with a condition is written only when the condition key holds exactly that text.
struct TagRow {
    const char *key;
    const char *param;
    Conversion conversion = Conversion::Plain;
    int maxImages = 0; // image lists: 0 = no upper bound
    const FixedList *list = nullptr;
    const char *conditionKey = nullptr;
    const char *conditionValue = nullptr;
};

struct AppletBlock {
    const char *appletId;
    std::vector<TagRow> rows;
};

// The own parameter block of each applet, in the order the ids are tested.
const std::vector<AppletBlock> &appletBlocks();
const AppletBlock *findAppletBlock(const QString &appletId);

} // namespace vexa
