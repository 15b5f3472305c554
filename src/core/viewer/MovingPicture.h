#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace vexa {

// A few seconds of an applet as an animated WebP picture that loops forever: what
// browsers without Java show in the applet's place.
class MovingPicture {
public:
    static constexpr int DefaultSeconds = 3;
    static constexpr int DefaultFramesPerSecond = 15;
    static constexpr int MaxSeconds = 30;
    static constexpr int MaxFramesPerSecond = 30;

    // Runs the applets' viewer on `page` and records its first applet. Empty, or what
    // went wrong; `webp` gets the picture. `waiting` is called while the applet runs.
    static QString record(const QString &page, int seconds, int framesPerSecond, QByteArray *webp,
                          const std::function<void()> &waiting = {});
    // Encodes the viewer's recording (a "VXFRAMES width height fps count" line, then the
    // RGBA frames) as an animated WebP. Empty, or what is wrong with the recording.
    static QString encode(const QString &recording, QByteArray *webp);
    // The picture's name beside a published page: "<page base name>-<applet folder>.webp".
    static QString fileName(const QString &htmlPath, const QString &appletId);
    // Whether `seconds` and `framesPerSecond` are a recording this program makes.
    static bool isValidLength(int seconds, int framesPerSecond);
};

} // namespace vexa
