#include "EffectView.h"

#include "controls/PageContext.h"

#include <QPainter>

namespace vexa {
namespace {

constexpr int FieldsLookMs = 100; // how soon a change of the fields shows
const QSize Largest(320, 200);    // the preview's own room; larger applets are scaled down

} // namespace

EffectView::EffectView(PageContext &context, ShownValues shown, QWidget *parent)
    : QWidget(parent), m_context(context), m_shown(std::move(shown))
{
    setObjectName(QStringLiteral("effectPreview"));
    setAccessibleName(QStringLiteral("Live preview of the effect"));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    connect(&m_frames, &QTimer::timeout, this, [this] { nextFrame(); });
    connect(&m_fields, &QTimer::timeout, this, [this] { followFields(); });
    m_fields.start(FieldsLookMs);
    followFields();
}

QSize EffectView::sizeHint() const
{
    const QSize applet = m_player.size().isEmpty() ? Largest : m_player.size();
    return applet.boundedTo(Largest).expandedTo(minimumSizeHint());
}

QSize EffectView::minimumSizeHint() const { return QSize(80, 50); }

bool EffectView::idle() const { return !isVisible() || !window() || window()->isMinimized(); }

// The fields are read as they are; the effect starts again only when what they show changed.
void EffectView::followFields()
{
    if (idle())
        return;
    SettingsStore::Values shown = m_shown();
    if (shown == m_drawn && (!m_problem.isEmpty() || m_frames.isActive()))
        return;
    m_drawn = std::move(shown);
    {
        const SettingsStore::Overlay overlay(m_context.store, m_context.appletId, m_drawn);
        m_problem = m_player.open(m_context.store, m_context.folders, m_context.appletId);
    }
    m_frame = 0;
    if (m_problem.isEmpty()) {
        m_picture = m_player.frame(0);
        m_frames.start(1000 / qMax(1, m_player.framesPerSecond()));
    } else {
        m_picture = QImage();
        m_frames.stop();
    }
    setToolTip(m_problem);
    updateGeometry();
    update();
}

void EffectView::nextFrame()
{
    if (idle())
        return;
    m_picture = m_player.frame(++m_frame);
    update();
}

void EffectView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window).darker(110));
    if (m_picture.isNull()) {
        painter.drawText(rect().adjusted(4, 4, -4, -4), Qt::AlignCenter | Qt::TextWordWrap, m_problem);
        return;
    }
    // At its own size when it fits, else scaled down keeping its shape, in the middle.
    const QSize shown = m_picture.size().boundedTo(size()).isEmpty()
                            ? QSize()
                            : m_picture.size().scaled(m_picture.size().boundedTo(size()), Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - shown.width()) / 2, (height() - shown.height()) / 2), shown);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, shown != m_picture.size());
    painter.drawImage(target, m_picture);
}

} // namespace vexa
