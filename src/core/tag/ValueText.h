#pragma once

#include <QString>

namespace vexa {

// Reading numbers out of stored texts the way the tag has always read them.
class ValueText {
public:
    // Leading blanks skipped, optional sign, decimal digits up to the first other
    // character; 0 when there are none. Saturates instead of overflowing.
    static int integer(const QString &text);
    // Unsigned hexadecimal: leading blanks skipped, optional "0x", digits up to the
    // first other character; 0 without digits, all ones when too large for 32 bits.
    static quint32 hexadecimal(const QString &text);
};

} // namespace vexa
