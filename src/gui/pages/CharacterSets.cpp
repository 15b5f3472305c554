#include "CharacterSets.h"

namespace vexa {
namespace {

struct CharacterSet {
    const char *name;
    const char *value;
};

const CharacterSet kCharacterSets[] = {
    {"Arabic (ISO)", "iso-8859-6"},         {"Arabic (Windows)", "windows-1256"},
    {"Baltic (ISO)", "iso-8859-4"},         {"Baltic (Windows)", "windows-1257"},
    {"Chinese (Traditional)", "big5"},      {"Chinese (Simplified)", "gb2312"},
    {"Chinese (Simplified HZ)", "hz-gb-2312"}, {"Cyrillic (ISO)", "iso-8859-5"},
    {"Cyrillic (Windows)", "windows-1251"}, {"European (Central, ISO)", "iso-8859-2"},
    {"European (Central, Windows)", "windows-1250"}, {"European (Western, ISO)", "iso-8859-1"},
    {"Greek (ISO)", "iso-8859-7"},          {"Greek (Windows)", "windows-1253"},
    {"Hebrew (ISO)", "iso-8859-8"},         {"Hebrew (Windows)", "windows-1255"},
    {"Japanese (Shift-JIS)", "x-sjis"},     {"Japanese (JIS)", "iso-2022-jp"},
    {"Japanese (EUC)", "x-euc-jp"},         {"Korean (ISO)", "iso-2022-kr"},
    {"Korean (euc-kr)", "euc-kr"},          {"Latin 3 (ISO)", "iso-8859-3"},
    {"Thai (ISO)", "iso-8859-11"},          {"Thai (Windows)", "windows-874"},
    {"Turkish (ISO)", "iso-8859-9"},        {"Turkish (Windows)", "windows-1254"},
    {"Ukrainian (KOI8-RU)", "koi8-ru"},     {"Vietnamese (Windows)", "windows-1258"},
};

} // namespace

QString CharacterSets::valueOf(const QString &name)
{
    for (const CharacterSet &set : kCharacterSets) {
        if (name == QLatin1String(set.name))
            return QLatin1String(set.value);
    }
    return QString();
}

QString CharacterSets::nameOf(const QString &value)
{
    for (const CharacterSet &set : kCharacterSets) {
        if (value == QLatin1String(set.value))
            return QLatin1String(set.name);
    }
    return QString();
}

} // namespace vexa
