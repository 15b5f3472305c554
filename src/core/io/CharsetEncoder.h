#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace vexa {

// Turns page text into the bytes of the character set the page declares. A
// character the set lacks becomes an HTML numeric reference ("&#233;"), so the
// browser shows it whatever the set. A set this build cannot encode is written as
// plain ASCII with references for everything beyond: every set in the table and
// every browser default reads ASCII the same way.
class CharsetEncoder {
public:
    // `charset` as a page declares it ("iso-8859-1", "windows-1251", "x-sjis", ...);
    // letter case and surrounding blanks do not matter.
    explicit CharsetEncoder(const QString &charset);

    // False when encode() falls back to ASCII with references.
    bool isSupported() const { return m_kind != Kind::Ascii || m_asciiByName; }
    QByteArray encode(const QString &text) const;
    // The text as the set's own bytes, without references (for a plain text file), or
    // nothing when a character is not in the set: `missing` then holds the first one.
    std::optional<QByteArray> encodeExactly(const QString &text, char32_t *missing) const;
    // The set's bytes as text.
    QString decode(const QByteArray &bytes) const;

    // The name the system converter knows the set by ("x-sjis" -> "SHIFT_JIS"); empty
    // for a name that cannot be one.
    static QByteArray systemName(const QString &charset);
    // "&#<decimal>;"
    static QByteArray reference(char32_t codePoint);

private:
    enum class Kind { Ascii, Latin1, Utf8, Hz, System };

    // Characters the set lacks become references, or, with `refused`, end the
    // conversion with that character.
    QByteArray encodeWithSystem(const QString &text, bool *ok, char32_t *refused = nullptr) const;

    Kind m_kind = Kind::Ascii;
    bool m_asciiByName = false;
    QByteArray m_systemName;
};

} // namespace vexa
