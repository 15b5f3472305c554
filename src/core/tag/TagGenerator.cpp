#include "TagGenerator.h"

#include "Addresses.h"
#include "AppletBlocks.h"
#include "CommonTagBlocks.h"
#include "TagText.h"
#include "ValueText.h"
#include "catalogue/Catalogue.h"
#include "settings/SettingsStore.h"

#include <QUrl>

namespace vexa {
namespace {

// The credit line of each variant: the author, then the makers' home page.
QString creditText(Credit credit)
{
    const char *author = "Vexa Team";
    if (credit == Credit::A)
        author = "Aldo Verri";
    else if (credit == Credit::B)
        author = "Nina Sorel";
    return QStringLiteral("Applet by %1 (%2)").arg(QLatin1String(author), Addresses::homePage());
}

QString colourValue(const QString &stored)
{
    const quint32 colour = ValueText::hexadecimal(stored);
    const quint32 red = colour & 0xFF, green = (colour >> 8) & 0xFF, blue = (colour >> 16) & 0xFF;
    return QStringLiteral("%1%2%3")
        .arg(red, 2, 16, QLatin1Char('0'))
        .arg(green, 2, 16, QLatin1Char('0'))
        .arg(blue, 2, 16, QLatin1Char('0'))
        .toUpper();
}

QString listValue(const FixedList &list, const QString &stored)
{
    const int position = fixedListPosition(list, stored);
    return position < 0 ? stored : QString::number(position);
}

class BlockWriter {
public:
    BlockWriter(const SettingsStore &store, const QString &appletId, TagText &tag)
        : m_store(store), m_appletId(appletId), m_tag(tag)
    {
    }

    QString value(const QString &key) const { return m_store.read(m_appletId, key); }

    void row(const TagRow &row)
    {
        if (row.conditionKey && value(QLatin1String(row.conditionKey)) != QLatin1String(row.conditionValue))
            return;
        const QString param = QLatin1String(row.param);
        const QString stored = row.key ? value(QLatin1String(row.key)) : QString();
        switch (row.conversion) {
        case Conversion::Plain:
            m_tag.param(param, stored);
            break;
        case Conversion::EmptyToNo:
            m_tag.param(param, stored.isEmpty() ? QStringLiteral("NO") : stored);
            break;
        case Conversion::UnlessEmpty:
            if (!stored.isEmpty())
                m_tag.param(param, stored);
            break;
        case Conversion::List:
            m_tag.param(param, listValue(*row.list, stored));
            break;
        case Conversion::Colour:
            m_tag.param(param, colourValue(stored));
            break;
        case Conversion::DivideBy16:
            m_tag.param(param, QString::number(quint32(ValueText::integer(stored) / 16)));
            break;
        case Conversion::ImageList:
        case Conversion::ImageListOnly:
        case Conversion::ImageListFlip:
            imageList(row);
            break;
        }
    }

private:
    void imageList(const TagRow &row)
    {
        for (int n = 1; row.maxImages == 0 || n <= row.maxImages; ++n) {
            const QString number = QString::number(n);
            const QString image = value(QStringLiteral("Image_") + number);
            if (image.isEmpty())
                return;
            m_tag.param(QStringLiteral("image") + number, image);
            if (row.conversion == Conversion::ImageListOnly)
                continue;
            const QString link = value(QStringLiteral("Link_") + number);
            m_tag.param(QStringLiteral("link") + number, link.isEmpty() ? QStringLiteral("NO") : link);
            m_tag.param(QStringLiteral("statusmsg") + number, value(QStringLiteral("StatusMsg_") + number));
            if (row.conversion == Conversion::ImageListFlip)
                m_tag.param(QStringLiteral("flip") + number,
                            listValue(kBookFlipList, value(QStringLiteral("Flip_") + number)));
        }
    }

    const SettingsStore &m_store;
    const QString &m_appletId;
    TagText &m_tag;
};

// Width and height of the start line.
QPair<QString, QString> appletSize(const SettingsStore &store, const QString &appletId)
{
    auto value = [&](const char *key) { return store.read(appletId, QLatin1String(key)); };
    if (appletId == QLatin1String("FIRE")) {
        const qint64 width = qint64(ValueText::integer(value("FireWidth"))) * ValueText::integer(value("XRes"));
        const qint64 height = qint64(ValueText::integer(value("FireHeight"))) * ValueText::integer(value("YRes"));
        return {QString::number(width), QString::number(height)};
    }
    // A floating menu opens its own window; the page only holds a 1 x 1 applet.
    if (CommonTagBlocks::isMenuApplet(appletId) && value("FloatMode") == QLatin1String("YES"))
        return {QStringLiteral("1"), QStringLiteral("1")};
    return {value("Width"), value("Height")};
}

} // namespace

QString TagGenerator::generate(const QString &appletId, const QString &movingPicture) const
{
    const AppletRecord *record = Catalogue::find(appletId);
    const auto [width, height] = appletSize(m_store, appletId);
    TagText tag;
    tag.line(QStringLiteral("<applet archive=\"%1\" code=\"%2\" width=\"%3\" height=\"%4\">")
                 .arg(Catalogue::archive(appletId), Catalogue::classFile(appletId), TagText::attributeValue(width),
                      TagText::attributeValue(height)));
    tag.param(QStringLiteral("credits"), record ? creditText(record->credit) : QString());
    if (const AppletBlock *block = findAppletBlock(appletId)) {
        BlockWriter writer(m_store, appletId, tag);
        for (const TagRow &row : block->rows)
            writer.row(row);
    }
    QString picture;
    if (!movingPicture.isEmpty()) {
        // A page name may hold characters that mean something in an address ('#', '%', '?').
        const QString source = QString::fromLatin1(QUrl::toPercentEncoding(movingPicture, " "));
        picture = QStringLiteral("<img src=\"%1\" width=\"%2\" height=\"%3\" alt=\"\">")
                      .arg(TagText::attributeValue(source), TagText::attributeValue(width),
                           TagText::attributeValue(height));
    }
    CommonTagBlocks::append(m_store, appletId, tag, picture);
    return tag.text();
}

} // namespace vexa
