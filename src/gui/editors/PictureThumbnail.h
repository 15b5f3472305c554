#pragma once

#include <QWidget>

class QLabel;

namespace vexa {

// A small picture of a file with its size and type under it, so the user sees what a
// list entry holds. Large files are decoded at thumbnail size, never whole; a file
// that cannot be shown gets a plain note.
class PictureThumbnail : public QWidget {
    Q_OBJECT

public:
    explicit PictureThumbnail(QWidget *parent = nullptr);

    // Shows the picture at `path`; an empty path shows nothing.
    void showPicture(const QString &path);
    // What the caption says (size and type, or why there is no picture).
    QString caption() const;
    bool hasPicture() const;

    static constexpr int Side = 128;

private:
    QLabel *m_picture;
    QLabel *m_caption;
};

} // namespace vexa
