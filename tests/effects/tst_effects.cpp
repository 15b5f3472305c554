// The effects engine, over every effect it knows: frames move, every visible parameter shows,
// hostile values never crash, and frame n is always the same picture.
#include "Animation.h"

#include <QByteArray>
#include <QTest>

using namespace vexa::effects;

namespace {

// A picture of colour bands, for every picture parameter; each one of a sequence moved on.
Picture bands(int width, int height, int shift = 0)
{
    Picture picture{width, height, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.rgba.insert(picture.rgba.end(), {std::uint8_t((x + shift * 9) % width * 255 / width),
                                                     std::uint8_t(y * 255 / height), std::uint8_t((x ^ y) & 0xFF), 255});
    return picture;
}

// The pictures a tag names, each a different picture of bands.
Animation::Pictures picturesOf(const AppletTag &tag)
{
    Animation::Pictures pictures;
    for (const auto &[name, file] : Animation::pictureFiles(tag))
        pictures.emplace_back(name, bands(96, 64, int(pictures.size())));
    return pictures;
}

// The effect's tag at its default values, with `changes` over them.
AppletTag tagOf(const EffectInfo &info, const QList<QPair<QByteArray, QByteArray>> &changes = {}, int width = 160,
                int height = 100)
{
    AppletTag tag;
    tag.code = info.className;
    tag.width = width;
    tag.height = height;
    for (const ParamRow &row : info.params) tag.params.set(row.name, row.fallback);
    for (const auto &[name, value] : changes) tag.params.set(name.toStdString(), value.toStdString());
    return tag;
}

// Frame `n` of the tag, as bytes; empty when the engine refused it.
QByteArray frameOf(const AppletTag &tag, std::uint32_t n)
{
    Animation animation;
    if (!animation.open(tag, picturesOf(tag)).empty()) return QByteArray();
    const std::uint8_t *bytes = animation.frame(n);
    return QByteArray(reinterpret_cast<const char *>(bytes), animation.width() * animation.height() * 4);
}

} // namespace

class EffectsTest : public QObject {
    Q_OBJECT

private slots:
    void framesMoveAndRepeat_data()
    {
        QTest::addColumn<int>("effect");
        for (std::size_t i = 0; i < registry().size(); ++i) QTest::newRow(registry()[i].appletId) << int(i);
    }

    // Frames change over time; frame 50 is the same picture however it is reached.
    void framesMoveAndRepeat()
    {
        QFETCH(int, effect);
        const AppletTag tag = tagOf(registry()[std::size_t(effect)]);
        Animation animation;
        QVERIFY(animation.open(tag, picturesOf(tag)).empty());
        const std::size_t size = std::size_t(tag.width) * std::size_t(tag.height) * 4;
        const QByteArray tenth(reinterpret_cast<const char *>(animation.frame(10)), qsizetype(size));
        const QByteArray fiftieth(reinterpret_cast<const char *>(animation.frame(50)), qsizetype(size));
        QVERIFY(tenth != fiftieth);
        animation.frame(60);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(animation.frame(50)), qsizetype(size)), fiftieth);
        QCOMPARE(frameOf(tag, 50), fiftieth);
    }

    void everyVisibleParameterShows_data()
    {
        QTest::addColumn<int>("effect");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("other");
        for (std::size_t i = 0; i < registry().size(); ++i) {
            for (const ParamRow &row : registry()[i].params) {
                if (row.visible && row.kind != ParamKind::Picture)
                    QTest::addRow("%s %s", registry()[i].appletId, row.name) << int(i) << QByteArray(row.name)
                                                                               << QByteArray(row.other);
            }
        }
    }

    // Each parameter with a visible meaning changes frame 50 when set to another value.
    void everyVisibleParameterShows()
    {
        QFETCH(int, effect);
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, other);
        const EffectInfo &info = registry()[std::size_t(effect)];
        QList<QPair<QByteArray, QByteArray>> base;
        for (const ParamRow &row : info.params) {
            if (row.name == name && row.needs) {
                const QList<QByteArray> needed = QByteArray(row.needs).split('=');
                base.append({needed.value(0), needed.value(1)});
            }
        }
        QVERIFY(frameOf(tagOf(info, base), 50) != frameOf(tagOf(info, base + QList<QPair<QByteArray, QByteArray>>{{name, other}}), 50));
    }

    void hostileValuesGiveDefaultsOrClamps_data()
    {
        QTest::addColumn<int>("effect");
        for (std::size_t i = 0; i < registry().size(); ++i) QTest::newRow(registry()[i].appletId) << int(i);
    }

    // Empty, huge, negative and text values, tiny and refused sizes: frames or a refusal, never a crash.
    void hostileValuesGiveDefaultsOrClamps()
    {
        QFETCH(int, effect);
        const EffectInfo &info = registry()[std::size_t(effect)];
        for (const QByteArray value : {"", "abc", "-99999", "99999999999", "1e308", "0x10", "-0", " 7 ", "NO"}) {
            QList<QPair<QByteArray, QByteArray>> all;
            for (const ParamRow &row : info.params) all.append({row.name, value});
            QCOMPARE(frameOf(tagOf(info, all), 7).size(), 160 * 100 * 4);
        }
        QCOMPARE(frameOf(tagOf(info, {}, 1, 1), 3).size(), 4);
        QVERIFY(frameOf(tagOf(info, {}, 100000, 100), 0).isEmpty());
        QVERIFY(frameOf(tagOf(info, {}, 0, 100), 0).isEmpty());
        // A picture that cannot be read is a plain placeholder of the applet's size.
        AppletTag tag = tagOf(info);
        Animation animation;
        QVERIFY(animation.open(tag, {}).empty());
        QVERIFY(animation.frame(5) != nullptr);
    }

    // The tag reader takes what the program writes and what people write by hand.
    void tagsAreRead()
    {
        const std::vector<AppletTag> tags = readAppletTags(
            "<p><APPLET code=fire.class WIDTH='320' height=\"200\">\r\n<param name=\"FWidth\" value=\"a &quot;b&quot; &#65;\">"
            "<param name=x></applet><applet code=\"x.class\" width=100% height=abc><param name=y value=2></applet>"
            "<param name=z value=3><applet code=\"y\" width=\"99999\" height=\"5\">");
        QCOMPARE(tags.size(), std::size_t(3));
        QCOMPARE(tags[0].code, std::string("fire.class"));
        QCOMPARE(tags[0].width, 320);
        QCOMPARE(tags[0].height, 200);
        QCOMPARE(*tags[0].params.find("fwidth"), std::string("a \"b\" A"));
        QCOMPARE(*tags[0].params.find("X"), std::string());
        QCOMPARE(tags[1].width, 0); // "100%" is no size
        QVERIFY(!tags[1].params.find("z")); // outside any applet
        QCOMPARE(tags[2].width, MaxSide + 1);
        QVERIFY(findEffect("FIRE.CLASS") != nullptr);
    }
};

QTEST_APPLESS_MAIN(EffectsTest)
#include "tst_effects.moc"
