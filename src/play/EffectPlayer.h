#pragma once

#include "Animation.h"

#include <QImage>
#include <QString>

#include <functional>

namespace vexa {

class Folders;
class SettingsStore;

// An applet's own effect as the program plays it: the applet's stored values made into
// its tag, the tag read by the effects engine, the pictures it names read from the applet
// folder, and each frame as a QImage over the engine's bytes.
class EffectPlayer {
public:
    // Whether the engine has an effect for the applet.
    static bool knows(const QString &appletId);

    // Starts the applet's effect from its stored values. Empty on success, else why not.
    QString open(const SettingsStore &store, const Folders &folders, const QString &appletId);
    // The same from a tag's text, pictures read from `folder`.
    QString openTag(const QString &tagText, const QString &folder);

    // Which engine makes a moving picture: ours where the applet's code is not beside the page
    // (and Vexa Java has its effect), else the Java viewer; or the one named.
    enum class Engine { Automatic, Ours, Java };
    // Records the first applet of `page` for `seconds` at `framesPerSecond` as an animated WebP,
    // as MovingPicture::record does with the Java viewer. Empty, or what went wrong.
    static QString recordMovingPicture(const QString &page, int seconds, int framesPerSecond, QByteArray *webp,
                                       Engine engine = Engine::Automatic, const std::function<void()> &waiting = {});

    // Frame `n`; a view of the engine's bytes, valid until the next frame or open.
    QImage frame(quint32 n);
    int framesPerSecond() const;
    QSize size() const { return QSize(m_animation.width(), m_animation.height()); }

private:
    effects::Animation m_animation;
};

} // namespace vexa
