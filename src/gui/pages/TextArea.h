#pragma once

#include <QPlainTextEdit>

namespace vexa {

// The multi-line text field of every page. A paste takes text only, and nothing at all
// when there is nothing to take: the clipboard has no data when no program owns it
// (after a log-in, or once the program that copied has quit).
class TextArea : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit TextArea(QWidget *parent = nullptr);

protected:
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;
};

} // namespace vexa
