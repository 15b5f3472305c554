#pragma once

#include "services/Services.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace vexa {

class Folders;

// The small notice with a title, a message and a clickable link line ("Publish",
// "Custom 3D objects ?").
class InfoDialog : public QDialog {
    Q_OBJECT

public:
    InfoDialog(const InfoNotice &notice, Services &services, const Folders &folders, QWidget *parent = nullptr);

    // What a click on the link does, by its keyword.
    void activateLink();

private:
    InfoNotice m_notice;
    Services &m_services;
    const Folders &m_folders;
    QPushButton *m_ok = nullptr;
};

} // namespace vexa
