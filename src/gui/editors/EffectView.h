#pragma once

#include "EffectPlayer.h"
#include "settings/SettingsStore.h"

#include <QImage>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace vexa {

struct PageContext;

// The live preview: the applet's own effect, running beside the fields at the applet's size
// (scaled down to fit), drawn by the effects engine from the values the page shows. It
// follows every change of the fields within a tenth of a second, without waiting for Next,
// and does no work while the window is minimised or the page is gone.
class EffectView : public QWidget {
    Q_OBJECT

public:
    using ShownValues = std::function<SettingsStore::Values()>;
    EffectView(PageContext &context, ShownValues shown, QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // The frame shown last (for tests).
    const QImage &picture() const { return m_picture; }
    quint32 frameNumber() const { return m_frame; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void followFields();
    void nextFrame();
    bool idle() const;

    PageContext &m_context;
    ShownValues m_shown;
    EffectPlayer m_player;
    SettingsStore::Values m_drawn; // the values the running effect was started from
    QString m_problem;
    QImage m_picture;
    quint32 m_frame = 0;
    QTimer m_frames;
    QTimer m_fields;
};

} // namespace vexa
