#pragma once

#include <QString>

namespace vexa {

struct PageContext;
class SettingsStore;

// Showing and publishing the current applet: the preview page in the browser and
// "Copy all files to..." / "Save all files to...".
class PublishActions {
public:
    explicit PublishActions(PageContext &context) : m_context(context) {}

    // Writes the preview page, then opens it; 1542 when no browser could be started.
    void showPreview();
    // Opens the preview page as it was last written.
    void openPreview();
    // Asks for the HTML file and copies the page and every file the applet needs beside it.
    void saveAllFiles();

    // "Add a moving picture for browsers without Java": off until the user turns it on.
    static bool movingPictureWanted(const SettingsStore &store);
    // Whether the applet's published page plays Vexa Java's own effect (its PlayEffect).
    static bool effectsWanted(const SettingsStore &store, const QString &appletId);
    static void setEffectsWanted(SettingsStore &store, const QString &appletId, bool on);
    static void setMovingPictureWanted(SettingsStore &store, bool on);

private:
    PageContext &m_context;
};

} // namespace vexa
