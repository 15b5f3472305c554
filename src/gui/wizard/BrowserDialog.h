#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace vexa {

class Services;

// "Change preview browser": the system's default browser, or a browser program.
class BrowserDialog : public QDialog {
    Q_OBJECT

public:
    static const QString DefaultBrowser; // "Default browser"

    BrowserDialog(const QString &browser, Services &services, QWidget *parent = nullptr);

    QString browser() const;

    // The dialog's buttons, callable by tests without a window system.
    void setDefault(bool on);
    void find();
    void accept() override;

private:
    Services &m_services;
    QCheckBox *m_default;
    QLineEdit *m_edit;
    QPushButton *m_find;
};

} // namespace vexa
