#pragma once

#include <QObject>

class QFont;
class QFrame;

namespace vexa {

class ControlPage;

// The live preview of the scroll text page (133): draws the text into the frame 1065
// in the chosen font and colours, and repaints whenever one of them changes.
class ScrollTextPreview : public QObject {
    Q_OBJECT

public:
    static void attach(ControlPage &page);

    // The text as the preview shows it: one line, line breaks as blanks.
    static QString previewText(const QString &text);
    // The chosen face, size, weight and slant on the page's own font.
    static QFont previewFont(const ControlPage &page);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    ScrollTextPreview(ControlPage &page, QFrame *frame);
    void paint();

    ControlPage &m_page;
    QFrame *m_frame;
};

} // namespace vexa
