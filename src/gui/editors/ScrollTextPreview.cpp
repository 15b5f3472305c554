#include "ScrollTextPreview.h"

#include "controls/ControlPage.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QPainter>
#include <QPlainTextEdit>

namespace vexa {
namespace {

constexpr int Text = 1013;
constexpr int Shadow = 1016;
constexpr int TextColour = 1017;
constexpr int ShadowColour = 1018;
constexpr int FontList = 1050;
constexpr int Bold = 1053;
constexpr int Size = 1054;
constexpr int Italic = 1338;
constexpr int ScrollType = 1333;
constexpr int Frame = 1065;
constexpr int TopMargin = 10;

} // namespace

ScrollTextPreview::ScrollTextPreview(ControlPage &page, QFrame *frame) : QObject(frame), m_page(page), m_frame(frame)
{
}

void ScrollTextPreview::attach(ControlPage &page)
{
    auto *frame = page.control<QFrame>(Frame);
    if (page.pageId() != 133 || !frame) return;
    auto *preview = new ScrollTextPreview(page, frame);
    frame->installEventFilter(preview);
    const auto repaint = [frame] { frame->update(); };
    if (auto *text = page.control<QPlainTextEdit>(Text))
        QObject::connect(text, &QPlainTextEdit::textChanged, frame, repaint);
    for (int id : {FontList, Size, ScrollType}) {
        if (auto *combo = page.control<QComboBox>(id))
            QObject::connect(combo, QOverload<int>::of(&QComboBox::currentIndexChanged), frame, repaint);
    }
    for (int id : {Bold, Italic, Shadow}) {
        if (auto *box = page.control<QAbstractButton>(id))
            QObject::connect(box, &QAbstractButton::toggled, frame, repaint);
    }
}

QString ScrollTextPreview::previewText(const QString &text)
{
    QString line = text;
    line.replace(QLatin1Char('\r'), QLatin1Char(' '));
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return line;
}

QFont ScrollTextPreview::previewFont(const ControlPage &page)
{
    QFont font = page.font();
    font.setFamily(page.text(FontList));
    const int size = page.text(Size).toInt();
    if (size > 0) font.setPixelSize(size);
    font.setWeight(page.isChecked(Bold) ? QFont::Bold : QFont::Normal);
    font.setItalic(page.isChecked(Italic));
    return font;
}

bool ScrollTextPreview::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_frame && event->type() == QEvent::Paint) paint();
    return false; // the frame still draws its border, over the text
}

void ScrollTextPreview::paint()
{
    const QRect area = m_frame->contentsRect();
    QPainter painter(m_frame);
    painter.setClipRect(area);
    painter.setFont(previewFont(m_page));
    // The applet draws over its own picture; here the text gets a backdrop it stands out
    // on: white text on the window's grey could not be read.
    const QColor ink = m_page.colour(TextColour);
    painter.fillRect(area, ink.lightnessF() > 0.5 ? QColor(Qt::black) : QColor(Qt::white));
    const QString text = previewText(m_page.text(Text));
    const QPoint origin(area.left(), area.top() + TopMargin + painter.fontMetrics().ascent());
    if (m_page.isChecked(Shadow)) {
        painter.setPen(m_page.colour(ShadowColour));
        painter.drawText(origin + QPoint(1, 1), text);
    }
    painter.setPen(m_page.colour(TextColour));
    painter.drawText(origin, text);
}

} // namespace vexa
