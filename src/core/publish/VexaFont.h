#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

namespace vexa {

// The properties a VexaFont file (.vxf) states in its first lines.
struct FontProperties {
    bool valid = false;
    int width = 0;
    int height = 0;
    int verticalSpacing = 0;
    QString characters;
    QString comment; // line 6, CR LF, line 7
};

// Reads a VexaFont file: line 1 names the font, lines 2 to 4 give the character
// width, height and vertical spacing, line 5 the characters, lines 6 and 7 an
// optional comment. Width and height must be positive. Only the first seven lines
// are read, each at most MaxLineLength bytes; a longer line makes the file invalid.
// An invalid or unreadable file (devices and pipes included) gives empty properties
// with `valid` false; the caller reports it.
class VexaFont {
public:
    static constexpr int MaxLineLength = 64 * 1024;

    static FontProperties read(const QString &path);
    static FontProperties read(QIODevice &device);
    static FontProperties read(const QByteArray &bytes);
};

} // namespace vexa
