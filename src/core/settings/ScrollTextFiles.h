#pragma once

#include <QString>

namespace vexa {

class Folders;
class Reporter;

// Each applet's scroll text lives as a plain text file in its applet folder.
class ScrollTextFiles {
public:
    // The most characters a scroll text holds; longer files load truncated.
    static constexpr int MaxLength = 32766;

    ScrollTextFiles(const Folders &folders, Reporter &reporter);

    // The file is written in the character set its page declares (`charset`, as the
    // preview page names it), so the applet reads the letters the page shows.
    // Replaces the file atomically. False, with message 1686, on any error; a text with a
    // character the set lacks is refused first, naming it (5018).
    bool save(const QString &appletId, const QString &text, const QString &charset);
    // Whether the set holds every character of `text`; says which one it lacks when not.
    bool fitsCharset(const QString &text, const QString &charset);
    // The file's text, at most MaxLength characters, read in `charset`; a file that is
    // valid UTF-8 (as earlier versions wrote every file) is read as UTF-8. False, with
    // message 1685, on any error.
    bool load(const QString &appletId, QString *text, const QString &charset);

private:
    void reportOutside(char32_t missing, const QString &charset);

    const Folders &m_folders;
    Reporter &m_reporter;
};

} // namespace vexa
