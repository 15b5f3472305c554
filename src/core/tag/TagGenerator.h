#pragma once

#include <QString>

namespace vexa {

class SettingsStore;

// Builds the HTML applet tag of one applet from the settings store alone, so the
// tag always shows the values last stored.
class TagGenerator {
public:
    explicit TagGenerator(const SettingsStore &store) : m_store(store) {}

    // The whole tag: start line, credits, the applet's own block, the common blocks,
    // the message line and the end line; every line ends in CR LF. With `movingPicture`
    // (a file name beside the page), browsers without Java show that picture, at the
    // applet's size, above the message.
    QString generate(const QString &appletId, const QString &movingPicture = QString()) const;

private:
    const SettingsStore &m_store;
};

} // namespace vexa
