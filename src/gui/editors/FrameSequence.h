#pragma once

#include <QString>
#include <QStringList>

namespace vexa {

class ControlPage;

// The motion-blur animator's pictures: one name numbered 1 to N (frame1.jpg ...
// frame12.jpg), picked together. The applet loads exactly those files, so the pick is
// checked as a whole before anything is copied.
class FrameSequence {
public:
    static void connect(ControlPage &page);

    // A picked set of files read as a sequence.
    struct Parsed {
        bool ok = false;
        int messageId = 0;    // why not, when not
        QString culprit;      // the missing or foreign file the message names
        QString base;         // "frame"
        QString extension;    // ".jpg", as the files spell it
        qint64 highest = 0;   // the highest number picked with that name and extension
        QStringList ordered;  // the paths, frame 1 first
    };
    static Parsed parse(const QStringList &paths);
};

} // namespace vexa
