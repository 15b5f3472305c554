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

    // Replaces the file atomically (UTF-8). False, with message 1686, on any error.
    bool save(const QString &appletId, const QString &text);
    // The file's text, at most MaxLength characters. False, with message 1685, on any error.
    bool load(const QString &appletId, QString *text);

private:
    const Folders &m_folders;
    Reporter &m_reporter;
};

} // namespace vexa
