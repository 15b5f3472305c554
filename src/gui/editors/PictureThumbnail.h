#pragma once

#include <QImage>
#include <QWidget>

#include <functional>
#include <memory>

class QLabel;

namespace vexa {

// A small picture of a file with its name above it and its size and type under it, so
// the user sees what a list entry holds. Pictures are decoded at thumbnail size on a
// worker thread, so a huge file never holds up the window; decoded thumbnails are kept
// by path, file size and modification time. A file that cannot be shown gets a plain note.
class PictureThumbnail : public QWidget {
    Q_OBJECT

public:
    explicit PictureThumbnail(QWidget *parent = nullptr);
    ~PictureThumbnail() override;

    // Shows the picture at `path` as soon as it is decoded; an empty path shows nothing.
    // Returns at once; a decode still running for an earlier path is forgotten.
    void showPicture(const QString &path);
    // What the caption says (size and type, or why there is no picture).
    QString caption() const;
    // The file name shown above the picture.
    QString fileName() const;
    bool hasPicture() const;
    // A decode for the path shown is under way.
    bool isDecoding() const { return m_decoding; }

    // Runs on the worker before each decode. Tests hold decodes back with it.
    static void setDecodeHook(std::function<void(const QString &path)> hook);

    static constexpr int Side = 128;

    // What a worker makes of a file.
    struct Decoded {
        QImage image;
        QSize size;
        QString format;
        QString error;
    };

signals:
    // The outcome for `path` (a picture or a note) is on display.
    void pictureShown(const QString &path);

private:
    struct Channel;
    void show(const QString &path, const Decoded &decoded);
    void deliver(quint64 request, const QString &path, const QString &key, const Decoded &decoded);

    QLabel *m_name;
    QLabel *m_picture;
    QLabel *m_caption;
    std::shared_ptr<Channel> m_channel;
    bool m_decoding = false;
};

} // namespace vexa
