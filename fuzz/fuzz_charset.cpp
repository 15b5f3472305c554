// Page text can hold anything the user typed, in any character set the user named:
// no input may hang, crash or read out of bounds, and for the sets that can be read
// back here every character must survive as itself or as its reference.
#include "io/CharsetEncoder.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdlib>

namespace {

const char *const charsets[] = {"",
                                "iso-8859-1",
                                "no-such-set",
                                "utf-8",
                                "windows-1251",
                                "x-sjis",
                                "iso-2022-jp",
                                "iso-2022-kr",
                                "hz-gb-2312",
                                "big5",
                                "gb2312",
                                "x-euc-jp",
                                "euc-kr",
                                "windows-1258",
                                "koi8-ru",
                                "windows-874",
                                "utf-16",
                                "utf-32",
                                "utf-8//IGNORE",
                                "IBM037"};

// The decimal number of a reference, "&#" and ";" left out; the digits are read in
// place, as a copy of each would cost an allocation per reference.
uint referenceNumber(const char *digits, qsizetype size)
{
    if (size < 1 || size > 7)
        std::abort();
    uint cp = 0;
    for (qsizetype i = 0; i < size; ++i) {
        if (digits[i] < '0' || digits[i] > '9')
            std::abort();
        cp = cp * 10 + uint(digits[i] - '0');
    }
    return cp;
}

// Reads the bytes back as Latin-1 with references resolved.
QString readBack(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '&' && i + 1 < bytes.size() && bytes[i + 1] == '#') {
            const qsizetype end = bytes.indexOf(';', i);
            if (end < 0)
                std::abort();
            const uint cp = referenceNumber(bytes.constData() + i + 2, end - i - 2);
            if (cp > 0x10FFFF)
                std::abort();
            if (cp > 0xFFFF) {
                text += QChar(QChar::highSurrogate(cp));
                text += QChar(QChar::lowSurrogate(cp));
            } else {
                text += QChar(char16_t(cp));
            }
            i = end;
        } else {
            text += QChar(uchar(bytes[i]));
        }
    }
    return text;
}

// The text with every lone surrogate as U+FFFD, as the encoder sees it.
QString wellFormed(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            result += c;
            result += text.at(++i);
        } else {
            result += c.isSurrogate() ? QChar(0xFFFD) : c;
        }
    }
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const QString charset = QLatin1String(charsets[data[0] % (sizeof charsets / sizeof *charsets)]);
    const QString text =
        QString::fromUtf16(reinterpret_cast<const char16_t *>(data + 1), qsizetype((size - 1) / 2));
    const vexa::CharsetEncoder encoder(charset);
    const QByteArray bytes = encoder.encode(text);
    if (!text.isEmpty() && bytes.isEmpty())
        std::abort();

    const bool ascii = !encoder.isSupported();
    const bool latin1 = charset == QLatin1String("iso-8859-1");
    if (ascii || latin1) {
        for (const char c : bytes) {
            if (ascii && uchar(c) >= 0x80)
                std::abort();
        }
        // A typed "&#" reads back ambiguously; everything else must round-trip.
        if (!text.contains(QLatin1String("&#")) && readBack(bytes) != wellFormed(text))
            std::abort();
    }
    return 0;
}
