// The yardstick for the wizard's start: a Qt window with a menu bar, a line of text and
// five buttons, ending once it has painted, as `VEXAJAVA_QUIT_AFTER_FIRST_PAINT=1 vexajava`
// does (bench/start-vs-floor.sh times both).
#include "wizard/QuitAfterFirstPaint.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QDialog window;
    auto *layout = new QVBoxLayout(&window);
    auto *bar = new QMenuBar(&window);
    for (const char *menu : {"&File", "&Options", "&Help"})
        bar->addMenu(QString::fromLatin1(menu))->addAction(QStringLiteral("Item"));
    layout->setMenuBar(bar);
    layout->addWidget(new QLabel(QStringLiteral("Select the category and the applet you want to configure")), 1);
    auto *buttons = new QHBoxLayout;
    for (const char *caption : {"Default values", "Preview...", "< Previous", "Next >", "Exit"})
        buttons->addWidget(new QPushButton(QString::fromLatin1(caption)));
    layout->addLayout(buttons);
    window.resize(940, 680);
    vexa::QuitAfterFirstPaint quit;
    window.installEventFilter(&quit);
    window.show();
    return app.exec();
}
