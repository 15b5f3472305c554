#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace vexa {

// How one settings key is shown by a page control and written back.
enum class BindingKind {
    Text,              // edit field, the text as stored
    ShowOnly,          // edit field that shows the value but is never stored
    TextIfSet,         // edit field showing the value unless it is empty or "NO"
    Combo,             // the item equal to the value, else the fallback item
    CheckYes,          // checked when "YES"; stores "YES"/"NO"
    CheckUnlessNo,     // checked unless "NO"; stores "YES"/"NO"
    CheckOne,          // checked when "1"; stores "1"/"0"
    CheckUnlessZero,   // checked unless "0"; stores "1"/"0"
    RadioPair,         // first button when the value is onValue; stores onValue/offValue
    OptionalFile,      // check box + path field: "NO" clears the box; stores the path or "NO"
    OptionalFileIfSet, // as OptionalFile, but an empty value clears the box too
    Component,         // one decimal component (0 red, 1 green, 2 blue) of a colour held by the page
    HexColour,         // a whole colour held by the page, lower-case hexadecimal, red in the low byte
    Special,           // read and written by the page's own code
};

struct Binding {
    const char *key;
    int control;        // the field, check box, combo or first radio; for colours the colour's swatch
    BindingKind kind;
    int second = 0;     // second radio, path field of an optional file, or colour component
    const char *fallback = nullptr; // combo item shown when no item equals the value; nullptr: first item
    const char *onValue = nullptr;  // radio pairs
    const char *offValue = nullptr;
    bool updatesAfterLoad = false;  // run the control's change handler once the value is shown
};

// The keys of a page in reading (and writing) order.
const std::vector<Binding> &pageBindings(int pageId);

// The fixed items of a page's combo box; empty for combos filled at run time.
QStringList comboItems(int pageId, int controlId);
// The most characters an edit field takes; 0 for no limit.
int lengthLimit(int pageId, int controlId);
// Fields that only show values computed by the page.
bool isReadOnlyField(int pageId, int controlId);

} // namespace vexa
