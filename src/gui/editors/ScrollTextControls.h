#pragma once

#include <QString>

namespace vexa {

class ControlPage;
struct FontProperties;
class Reporter;

// The scroll text and font controls: text from a file, the standard Java fonts
// switch, and the VexaFont file of the solid scroller.
class ScrollTextControls {
public:
    static void connect(ControlPage &page);
    // The read-only properties of the chosen VexaFont file (empty for an invalid one).
    static void showFontProperties(ControlPage &page, const FontProperties &font);
    // The properties of the font the page names, read from the applet folder; a font that is
    // missing there or unreadable leaves them blank and says so in the status line.
    static void showNamedFont(ControlPage &page);
    // A text file as the Text field shows it: UTF-8, else Latin-1, up to the first NUL,
    // at most the scroll text's length. False (nothing read) when the file cannot be read.
    static bool readTextFile(const QString &path, QString *text);
};

} // namespace vexa
