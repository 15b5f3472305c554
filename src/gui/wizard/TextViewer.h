#pragma once

#include <QDialog>

namespace vexa {

// A simple read-only viewer for the program's text documents.
class TextViewer : public QDialog {
    Q_OBJECT

public:
    TextViewer(const QString &path, QWidget *parent = nullptr);
};

} // namespace vexa
