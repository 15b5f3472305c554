#pragma once

#include <QString>

namespace vexa {

// Every numbered text of the program: messages, descriptions, filters and the
// captions that code refers to by number.
class StringTable {
public:
    // The text of string `id`; empty for an id the table does not hold.
    static QString text(int id);
    static bool contains(int id);
};

} // namespace vexa
