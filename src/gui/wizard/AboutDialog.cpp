#include "AboutDialog.h"

#include "WizardIcon.h"
#include "settings/InstallData.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vexa {

AboutDialog::AboutDialog(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Vexa Java"));
    auto *layout = new QVBoxLayout(this);
    // A notice has nothing to resize: at its own size the window manager offers no
    // resize handle or maximize button for it.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto *row = new QHBoxLayout;
    auto *icon = new QLabel(this);
    icon->setPixmap(wizardIcon().pixmap(48, 48));
    row->addWidget(icon, 0, Qt::AlignTop);
    auto *texts = new QVBoxLayout;
    texts->addWidget(new QLabel(InstallData::versionText(), this));
    texts->addWidget(new QLabel(QStringLiteral("Java applets for your web pages, by Vexa Team"), this));
    row->addLayout(texts);
    layout->addLayout(row);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

} // namespace vexa
