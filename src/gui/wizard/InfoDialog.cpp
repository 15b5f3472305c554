#include "InfoDialog.h"

#include "Addresses.h"
#include "HelpTopics.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QLabel>
#include <QVBoxLayout>

namespace vexa {

InfoDialog::InfoDialog(const InfoNotice &notice, Services &services, const Folders &folders, QWidget *parent)
    : QDialog(parent), m_notice(notice), m_services(services), m_folders(folders)
{
    setWindowTitle(notice.title.isEmpty() ? QStringLiteral("Info") : notice.title);
    auto *layout = new QVBoxLayout(this);
    // A notice has nothing to resize: at its own size the window manager offers no
    // resize handle or maximize button for it.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    auto *text = new QLabel(notice.message.trimmed(), this);
    text->setObjectName(QStringLiteral("c1423"));
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignCenter);
    text->setMinimumWidth(420);
    layout->addWidget(text);

    auto *link = new QLabel(QStringLiteral("<a href=\"#\" style=\"color:#0000ff\">%1</a>").arg(notice.linkText.toHtmlEscaped()), this);
    link->setObjectName(QStringLiteral("c1233"));
    link->setAlignment(Qt::AlignCenter);
    link->setCursor(Qt::PointingHandCursor);
    link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    link->setAccessibleName(notice.linkText);
    connect(link, &QLabel::linkActivated, this, [this] { activateLink(); });
    layout->addWidget(link);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_ok->setObjectName(QStringLiteral("c1"));
    m_ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

void InfoDialog::activateLink()
{
    // A click leaves the keyboard with OK, so that Enter still closes the notice.
    m_ok->setFocus();
    if (m_notice.linkKeyword == QLatin1String("STEP1"))
        HelpTopics(m_folders, m_services).open(QStringLiteral("instruction"));
    else if (m_notice.linkKeyword == QLatin1String("VEXA3D LIGHT"))
        m_services.showInBrowser(Addresses::product3d());
    else if (m_notice.linkKeyword.isEmpty())
        m_services.showInBrowser(Addresses::homePage());
}

} // namespace vexa
