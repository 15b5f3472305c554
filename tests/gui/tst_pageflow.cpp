#include "catalogue/Catalogue.h"
#include "wizard/PageFlow.h"

#include <QTest>

using namespace vexa;

namespace {

// Next from 129 until the walk reaches the code page (or stops moving).
QList<int> walkForward(const QString &applet, const WalkFlags &flags)
{
    QList<int> pages{PageFlow::SelectionPage};
    while (pages.last() != PageFlow::CodePage && pages.size() < 20) {
        const int next = PageFlow::next(pages.last(), applet, flags);
        if (next == pages.last())
            break;
        pages.append(next);
    }
    return pages;
}

QList<int> walkBack(const QString &applet, const WalkFlags &flags)
{
    QList<int> pages{PageFlow::CodePage};
    while (pages.last() != PageFlow::SelectionPage && pages.size() < 20) {
        const int previous = PageFlow::previous(pages.last(), applet, flags);
        if (previous == pages.last())
            break;
        pages.append(previous);
    }
    return pages;
}

QList<int> reversed(QList<int> pages)
{
    std::reverse(pages.begin(), pages.end());
    return pages;
}

const QStringList kWithoutScrollText = {"BLUR", "CFADE", "BOOKFLIP", "LENS", "MANDEL", "MOSAIC", "VEXACAM"};

} // namespace

class PageFlowTest : public QObject {
    Q_OBJECT

private slots:
    // Every applet, every flag combination: the walk the wizard documents, and
    // Previous from the code page retraces it exactly.
    void everyAppletWalksThereAndBack()
    {
        for (const AppletRecord &record : Catalogue::applets()) {
            const QString applet = QLatin1String(record.id);
            for (int flagBits = 0; flagBits < 4; ++flagBits) {
                for (int plugIn : {-2, -1, 0, 1}) {
                    WalkFlags flags;
                    flags.scrollText = flagBits & 1;
                    flags.floatWindow = flagBits & 2;
                    flags.morphPlugIn = plugIn;
                    QList<int> own;
                    const int first = PageFlow::firstPage(applet);
                    if (applet == "VEXA3D LIGHT")
                        own = {182, 183};
                    else if (applet == "SOLIDSCROLLER")
                        own = {207, 208};
                    else if (applet == "WHEELMENU")
                        own = {197, 194};
                    else if (applet == "TREEMENU")
                        own = {197, 201};
                    else if (applet == "MORPHMENU")
                        own = plugIn == 0 ? QList<int>{197, 195, 199}
                                          : plugIn == 1 ? QList<int>{197, 195, 200} : QList<int>{197, 195};
                    else
                        own = {first};

                    QList<int> expected{129};
                    expected += own;
                    const bool menu = applet == "WHEELMENU" || applet == "TREEMENU" || applet == "MORPHMENU";
                    if (applet == "VEXAPAINT") {
                        expected += {155, 134};
                    } else if (applet == "CUBEMENU") {
                        if (flags.floatWindow)
                            expected << 211;
                        if (flags.scrollText)
                            expected << 133;
                        expected += {135, 155, 134};
                    } else if (menu) {
                        if (flags.floatWindow)
                            expected << 211;
                        expected += {135, 155, 134};
                    } else {
                        if (flags.scrollText && !kWithoutScrollText.contains(applet) && applet != "SOLIDSCROLLER")
                            expected << 133;
                        expected += {135, 155, 134};
                    }
                    const QString context = QStringLiteral("%1 scroll=%2 float=%3 plug-in=%4")
                                                .arg(applet)
                                                .arg(flags.scrollText)
                                                .arg(flags.floatWindow)
                                                .arg(plugIn);
                    QCOMPARE(walkForward(applet, flags), expected);
                    // Only applet pages pass through 211 backwards when the float flag was left set.
                    if (!flags.floatWindow || menu || applet == "CUBEMENU")
                        QVERIFY2(walkBack(applet, flags) == reversed(expected), qPrintable(context));
                }
            }
        }
    }

    void floatFlagLeftFromAnEarlierMenu()
    {
        WalkFlags flags;
        flags.floatWindow = true;
        flags.scrollText = true;
        QCOMPARE(walkBack("BUMP", flags), QList<int>({134, 155, 135, 133, 211, 136, 129}));
        flags.scrollText = false;
        QCOMPARE(walkBack("BUMP", flags), QList<int>({134, 155, 135, 211, 136, 129}));
        // Forwards the float page is not part of an effect applet's walk.
        QCOMPARE(walkForward("BUMP", flags), QList<int>({129, 136, 135, 155, 134}));
    }

    void stayingPut()
    {
        WalkFlags flags;
        QCOMPARE(PageFlow::next(129, "", flags), 129);
        QCOMPARE(PageFlow::next(129, "NOSUCH", flags), 129);
        QCOMPARE(PageFlow::next(134, "BUMP", flags), 134);
        QCOMPARE(PageFlow::next(197, "BUMP", flags), 197);
        QCOMPARE(PageFlow::previous(129, "BUMP", flags), 129);
        QCOMPARE(PageFlow::previous(130, "BUMP", flags), 130);
        QCOMPARE(PageFlow::next(212, "BUMP", flags), 212);
    }
};

QTEST_APPLESS_MAIN(PageFlowTest)
#include "tst_pageflow.moc"
