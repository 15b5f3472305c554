#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class QIODevice;

namespace vexa {

class Reporter;

// What the header of a picture file tells: its type and size in pixels.
struct ImageInfo {
    bool found = false;
    QString extension; // ".gif" or ".jpg"; empty when not found
    int width = 0;
    int height = 0;
};

// Reads the size of a GIF or JPEG picture from its header alone, without an image
// library and without reading the file through: a JPEG is walked marker by marker,
// skipping segments, up to its frame header.
//
// Failures are reported: 1688 when the file cannot be opened or read, 1689 when it
// is neither a GIF 87a/89a nor a JPEG with a frame header. The JPEG walk also
// writes one-line diagnostics meant for developers; they go to standard error, or
// into `diagnostics` when the caller passes a list.
class ImageSize {
public:
    // Devices and pipes are refused like unreadable files (1688): they may never end.
    static ImageInfo read(const QString &path, Reporter &reporter, QStringList *diagnostics = nullptr);
    // Reads from the device's current position; it must be open for reading and have an end.
    static ImageInfo read(QIODevice &device, Reporter &reporter, QStringList *diagnostics = nullptr);
    static ImageInfo read(const QByteArray &bytes, Reporter &reporter, QStringList *diagnostics = nullptr);
};

} // namespace vexa
