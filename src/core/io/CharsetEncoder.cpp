#include "CharsetEncoder.h"

// The system converter: iconv where the C library has it. A Windows port puts
// WideCharToMultiByte behind the same two functions (open by name, convert).
#if !defined(_WIN32) && __has_include(<iconv.h>)
#define VEXAJAVA_HAVE_ICONV 1
#include <cerrno>
#include <iconv.h>
#endif

namespace vexa {
namespace {

struct CharsetName {
    const char *label;  // as the pages store it, lower case
    const char *system; // as the converter knows it
};

// The character sets the pages offer, with the names the converter uses for them.
// Sets outside the table are passed on by their own name.
const CharsetName charsetNames[] = {
    {"iso-8859-6", "ISO-8859-6"},
    {"windows-1256", "CP1256"},
    {"iso-8859-4", "ISO-8859-4"},
    {"windows-1257", "CP1257"},
    {"big5", "BIG5"},
    {"gb2312", "EUC-CN"},
    {"iso-8859-5", "ISO-8859-5"},
    {"windows-1251", "CP1251"},
    {"iso-8859-2", "ISO-8859-2"},
    {"windows-1250", "CP1250"},
    {"iso-8859-1", "ISO-8859-1"},
    {"iso-8859-7", "ISO-8859-7"},
    {"windows-1253", "CP1253"},
    {"iso-8859-8", "ISO-8859-8"},
    {"windows-1255", "CP1255"},
    {"x-sjis", "SHIFT_JIS"},
    {"iso-2022-jp", "ISO-2022-JP"},
    {"x-euc-jp", "EUC-JP"},
    {"iso-2022-kr", "ISO-2022-KR"},
    {"euc-kr", "EUC-KR"},
    {"iso-8859-3", "ISO-8859-3"},
    {"iso-8859-11", "ISO-8859-11"},
    {"windows-874", "CP874"},
    {"iso-8859-9", "ISO-8859-9"},
    {"windows-1254", "CP1254"},
    {"koi8-ru", "KOI8-RU"},
    {"windows-1258", "CP1258"},
};

constexpr char32_t Replacement = 0xFFFD;

// Calls `f` with each code point of `text`; a lone surrogate counts as U+FFFD.
template <typename F> void forEachCodePoint(const QString &text, F f)
{
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < n && text.at(i + 1).isLowSurrogate()) {
            f(QChar::surrogateToUcs4(c, text.at(i + 1)));
            ++i;
        } else {
            f(c.isSurrogate() ? Replacement : char32_t(c.unicode()));
        }
    }
}

// Code points below `limit` as single bytes, the rest as references.
QByteArray singleBytes(const QString &text, char32_t limit)
{
    QByteArray out;
    out.reserve(text.size());
    forEachCodePoint(text, [&](char32_t cp) {
        if (cp < limit)
            out.append(char(cp));
        else
            out.append(CharsetEncoder::reference(cp));
    });
    return out;
}

void appendUtf8(QByteArray &out, char32_t cp)
{
    if (cp < 0x80) {
        out.append(char(cp));
    } else if (cp < 0x800) {
        out.append(char(0xC0 | (cp >> 6)));
        out.append(char(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.append(char(0xE0 | (cp >> 12)));
        out.append(char(0x80 | ((cp >> 6) & 0x3F)));
        out.append(char(0x80 | (cp & 0x3F)));
    } else {
        out.append(char(0xF0 | (cp >> 18)));
        out.append(char(0x80 | ((cp >> 12) & 0x3F)));
        out.append(char(0x80 | ((cp >> 6) & 0x3F)));
        out.append(char(0x80 | (cp & 0x3F)));
    }
}

// Well-formed UTF-8 whatever the string holds, so the converter never meets a
// broken sequence.
QByteArray utf8(const QString &text)
{
    QByteArray out;
    out.reserve(text.size() * 3);
    forEachCodePoint(text, [&](char32_t cp) { appendUtf8(out, cp); });
    return out;
}

// The code point at the start of well-formed UTF-8 `p`, and its length in bytes.
char32_t decodeUtf8(const char *p, size_t left, int *length)
{
    const auto b = [p](int i) { return char32_t(quint8(p[i])); };
    const char32_t lead = b(0);
    int n = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (size_t(n) > left)
        n = 1;
    *length = n;
    switch (n) {
    case 1:
        return lead < 0x80 ? lead : Replacement;
    case 2:
        return ((lead & 0x1F) << 6) | (b(1) & 0x3F);
    case 3:
        return ((lead & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
    default:
        return ((lead & 0x07) << 18) | ((b(1) & 0x3F) << 12) | ((b(2) & 0x3F) << 6) | (b(3) & 0x3F);
    }
}

#ifdef VEXAJAVA_HAVE_ICONV

class Converter {
public:
    explicit Converter(const QByteArray &to, const QByteArray &from = "UTF-8")
        : m_cd(iconv_open(to.constData(), from.constData()))
    {
    }
    ~Converter()
    {
        if (isOpen())
            iconv_close(m_cd);
    }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;

    bool isOpen() const { return m_cd != iconv_t(-1); }

    // Converts as much of the input as the set can hold; `in` null writes the
    // sequence back to the initial shift state. 0, or the errno that stopped it.
    int pump(char **in, size_t *inLeft)
    {
        for (;;) {
            if (m_out.size() - m_used < 64)
                m_out.resize(qMax<qsizetype>(256, m_out.size() * 2));
            char *outPtr = m_out.data() + m_used;
            size_t outLeft = size_t(m_out.size() - m_used);
            const size_t result = iconv(m_cd, in, inLeft, &outPtr, &outLeft);
            const int error = errno;
            m_used = outPtr - m_out.data();
            if (result != size_t(-1))
                return 0;
            if (error != E2BIG)
                return error;
        }
    }

    QByteArray result() const { return m_out.left(m_used); }

private:
    iconv_t m_cd;
    QByteArray m_out;
    qsizetype m_used = 0;
};

bool systemKnows(const QByteArray &name) { return Converter(name).isOpen(); }

#else

bool systemKnows(const QByteArray &) { return false; }

#endif

} // namespace

CharsetEncoder::CharsetEncoder(const QString &charset)
{
    const QString label = charset.trimmed().toLower();
    if (label == QLatin1String("iso-8859-1") || label == QLatin1String("latin1")) {
        m_kind = Kind::Latin1;
    } else if (label == QLatin1String("utf-8") || label == QLatin1String("utf8")) {
        m_kind = Kind::Utf8;
    } else if (label == QLatin1String("us-ascii") || label == QLatin1String("ascii")) {
        m_asciiByName = true;
    } else if (label == QLatin1String("hz-gb-2312")) {
        // No converter has HZ; ASCII with its one escape is valid HZ.
        m_kind = Kind::Hz;
    } else {
        m_systemName = systemName(charset);
        if (!m_systemName.isEmpty() && systemKnows(m_systemName))
            m_kind = Kind::System;
    }
}

QByteArray CharsetEncoder::systemName(const QString &charset)
{
    const QString label = charset.trimmed().toLower();
    for (const CharsetName &name : charsetNames) {
        if (label == QLatin1String(name.label))
            return QByteArray(name.system);
    }
    // Only plain names reach the converter: "//" suffixes change how it behaves.
    if (label.isEmpty() || label.size() > 40)
        return QByteArray();
    for (const QChar c : label) {
        const bool plain = (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
                           (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('-') ||
                           c == QLatin1Char('_') || c == QLatin1Char('.') || c == QLatin1Char(':');
        if (!plain)
            return QByteArray();
    }
    return label.toUpper().toLatin1();
}

QByteArray CharsetEncoder::reference(char32_t codePoint)
{
    return "&#" + QByteArray::number(quint32(codePoint)) + ';';
}

QByteArray CharsetEncoder::encode(const QString &text) const
{
    switch (m_kind) {
    case Kind::Latin1:
        return singleBytes(text, 0x100);
    case Kind::Utf8:
        return utf8(text);
    case Kind::Hz:
        return singleBytes(text, 0x80).replace('~', "~~");
    case Kind::System: {
        bool ok = false;
        const QByteArray bytes = encodeWithSystem(text, &ok);
        if (ok)
            return bytes;
        break;
    }
    case Kind::Ascii:
        break;
    }
    return singleBytes(text, 0x80);
}

QByteArray CharsetEncoder::encodeWithSystem(const QString &text, bool *ok, char32_t *refused) const
{
    *ok = false;
#ifdef VEXAJAVA_HAVE_ICONV
    Converter converter(m_systemName);
    if (!converter.isOpen())
        return QByteArray();
    QByteArray input = utf8(text);
    char *in = input.data();
    size_t inLeft = size_t(input.size());
    while (inLeft > 0) {
        // Short runs of whole characters: after a refused character the converter
        // redoes its run, which must not cost the rest of the page each time.
        size_t run = qMin<size_t>(inLeft, 256);
        while (run < inLeft && (quint8(in[run]) & 0xC0) == 0x80)
            ++run;
        const char *start = in;
        size_t runLeft = run;
        const int error = converter.pump(&in, &runLeft);
        inLeft -= size_t(in - start);
        if (error == 0)
            continue;
        if (error != EILSEQ)
            return QByteArray();
        // `in` stands on the character the set lacks: back to the initial shift
        // state so the reference reads as plain text, then write the reference.
        int length = 1;
        const char32_t cp = decodeUtf8(in, inLeft, &length);
        if (refused) {
            *refused = cp;
            return QByteArray();
        }
        QByteArray ref = reference(cp);
        char *refIn = ref.data();
        size_t refLeft = size_t(ref.size());
        if (converter.pump(nullptr, nullptr) != 0 || converter.pump(&refIn, &refLeft) != 0)
            return QByteArray();
        in += length;
        inLeft -= size_t(length);
    }
    if (converter.pump(nullptr, nullptr) != 0)
        return QByteArray();
    *ok = true;
    return converter.result();
#else
    Q_UNUSED(text);
    Q_UNUSED(refused);
    return QByteArray();
#endif
}

std::optional<QByteArray> CharsetEncoder::encodeExactly(const QString &text, char32_t *missing) const
{
    char32_t limit = 0x80;
    switch (m_kind) {
    case Kind::Utf8:
        return utf8(text);
    case Kind::System: {
        bool ok = false;
        char32_t refused = 0;
        const QByteArray bytes = encodeWithSystem(text, &ok, &refused);
        if (ok)
            return bytes;
        if (refused) {
            *missing = refused;
            return std::nullopt;
        }
        break; // the converter failed otherwise: the ASCII fallback below
    }
    case Kind::Latin1:
        limit = 0x100;
        break;
    case Kind::Hz:
    case Kind::Ascii:
        break;
    }
    std::optional<char32_t> first;
    forEachCodePoint(text, [&](char32_t cp) {
        if (cp >= limit && !first)
            first = cp;
    });
    if (first) {
        *missing = *first;
        return std::nullopt;
    }
    QByteArray bytes = singleBytes(text, limit);
    return m_kind == Kind::Hz ? bytes.replace('~', "~~") : bytes;
}

QString CharsetEncoder::decode(const QByteArray &bytes) const
{
    switch (m_kind) {
    case Kind::Utf8:
        return QString::fromUtf8(bytes);
    case Kind::Hz:
        return QString::fromLatin1(QByteArray(bytes).replace("~~", "~"));
    case Kind::System: {
#ifdef VEXAJAVA_HAVE_ICONV
        Converter converter("UTF-8", m_systemName);
        QByteArray input = bytes;
        char *in = input.data();
        size_t inLeft = size_t(input.size());
        if (converter.isOpen() && converter.pump(&in, &inLeft) == 0)
            return QString::fromUtf8(converter.result());
#endif
        break;
    }
    case Kind::Latin1:
    case Kind::Ascii:
        break;
    }
    return QString::fromLatin1(bytes);
}

} // namespace vexa
