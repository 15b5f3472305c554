#include "TextViewer.h"

#include "settings/IniText.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace vexa {

TextViewer::TextViewer(const QString &path, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QFileInfo(path).fileName());
    resize(640, 480);
    auto *layout = new QVBoxLayout(this);
    auto *text = new QPlainTextEdit(this);
    text->setReadOnly(true);
    text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    QFile file(path);
    constexpr qint64 MaxShown = 4 * 1024 * 1024; // a text document, not a data dump
    if (file.open(QIODevice::ReadOnly))
        text->setPlainText(IniText::decode(file.read(MaxShown)));
    else
        text->setPlainText(tr("The document %1 cannot be read: %2").arg(path, file.errorString()));
    layout->addWidget(text);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

} // namespace vexa
