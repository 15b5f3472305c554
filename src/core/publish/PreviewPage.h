#pragma once

#include <QString>

namespace vexa {

class Folders;
class Reporter;
class SettingsStore;

// "preview.html" in the applet folder: the applet tag inside a small page with the
// maker's button, written for the browser preview and for publishing.
class PreviewPage {
public:
    static QString fileName() { return QStringLiteral("preview.html"); }
    static QString buttonImage() { return QStringLiteral("qzbut1.gif"); }

    PreviewPage(const SettingsStore &store, const Folders &folders, Reporter &reporter);

    // Replaces the applet folder's page. `copied`: the page will lie next to its button
    // image (publishing) rather than one folder below it; `movingPicture` names the
    // picture shown by browsers without Java. False, with message 1687, when the file
    // cannot be written.
    bool write(const QString &appletId, bool copied, const QString &movingPicture = QString());
    // The browser preview plays an applet Vexa Java has an effect for with its own player:
    // a script line after the tag, and the pictures the effect reads in a script of their
    // own beside the page (a page from file:// may show pictures but not hand their pixels to
    // a script). Off, the page is exactly the applet's page.
    // Published (`copied`), the page names the player beside it and its pictures come from
    // its own folder.
    void setEffects(bool on) { m_effects = on; }
    static QString playerName() { return QStringLiteral("vexajava-effects.js"); }
    static QString picturesScriptName() { return QStringLiteral("preview-pictures.js"); }
    // Whether the user lets the preview play effects: the Application value EffectsInPreview
    // ("NO" turns it off).
    static bool effectsWanted(const SettingsStore &store);

    QString path(const QString &appletId) const;
    // The declared character set: the applet's `CharSet` for the three applets that
    // let the user choose one, else "iso-8859-1".
    QString charset(const QString &appletId) const { return charsetFor(m_store, appletId); }
    // The set a page of the applet declares: the applet's choice where it has one, else
    // Latin-1. The scroll-text file is written in it too.
    static QString charsetFor(const SettingsStore &store, const QString &appletId);
    // The page as text, before it is encoded in its character set.
    QString text(const QString &appletId, bool copied, const QString &movingPicture = QString()) const;
    // The page around a given tag; every line ends in CR LF.
    static QString compose(const QString &charset, const QString &tag, const QString &buttonReference,
                           const QString &afterTag = QString());

    // Whether the page written for the applet plays its effect.
    bool playsEffect(const QString &appletId) const;

private:
    bool writePicturesScript(const QString &appletId, const QString &tag);
    const SettingsStore &m_store;
    const Folders &m_folders;
    Reporter &m_reporter;
    bool m_effects = false;
};

} // namespace vexa
