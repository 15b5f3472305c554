#include "BrowserDialog.h"

#include "Reporter.h"
#include "publish/BrowserLauncher.h"
#include "strings/StringIds.h"
#include "services/Services.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vexa {

const QString BrowserDialog::DefaultBrowser = QStringLiteral("Default browser");

BrowserDialog::BrowserDialog(const QString &browser, Services &services, QWidget *parent)
    : QDialog(parent), m_services(services)
{
    setWindowTitle(QStringLiteral("Change preview browser"));
    auto *layout = new QGridLayout(this);
    m_default = new QCheckBox(QStringLiteral("System default browser "), this);
    m_default->setObjectName(QStringLiteral("c1141"));
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("c1098"));
    m_edit->setMaxLength(255);
    m_edit->setMinimumWidth(360);
    m_edit->setAccessibleName(QStringLiteral("Browser program"));
    m_find = new QPushButton(QStringLiteral("Find..."), this);
    m_find->setObjectName(QStringLiteral("c1099"));
    m_find->setDefault(true);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("c1"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("c2"));
    layout->addWidget(m_default, 0, 0, 1, 2);
    layout->addWidget(m_edit, 1, 0);
    layout->addWidget(m_find, 1, 1);
    layout->addWidget(buttons, 2, 0, 1, 2);

    // The state, not the click: Space and assistive tools switch it too.
    connect(m_default, &QCheckBox::toggled, this, &BrowserDialog::setDefault);
    connect(m_find, &QPushButton::clicked, this, &BrowserDialog::find);
    connect(buttons, &QDialogButtonBox::accepted, this, &BrowserDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    const QString shown = BrowserLauncher::inForce(browser);
    const bool isDefault = shown == DefaultBrowser;
    m_default->setChecked(isDefault);
    m_find->setEnabled(!isDefault);
    m_edit->setText(shown);
}

QString BrowserDialog::browser() const { return m_edit->text().left(255); }

void BrowserDialog::setDefault(bool on)
{
    m_edit->setText(on ? DefaultBrowser : QString());
    m_find->setEnabled(!on);
}

void BrowserDialog::find()
{
#ifdef Q_OS_WIN
    const QString filter = QStringLiteral("Application (*.exe)|*.exe|All files (*.*)|*.*|");
#else
    const QString filter = QStringLiteral("All files (*)|*|");
#endif
    const QString program = m_services.openFile(filter);
    if (program.isEmpty())
        return;
    m_default->setChecked(false);
    m_edit->setText(program);
}

void BrowserDialog::accept()
{
    if (m_edit->text().isEmpty()) {
        m_find->setFocus();
        m_services.showMessage(
            message(Str::BrowserMissing, MessageIcon::Exclamation));
        return;
    }
    QDialog::accept();
}

} // namespace vexa
