#pragma once

#include <QString>

namespace vexa {

// The applet tag under construction: text lines, each ended by CR LF. Values go in
// unchanged, without escaping: the tag is the applets' contract, as stored.
class TagText {
public:
    // <param name="NAME" value="VALUE">
    void param(const QString &name, const QString &value);
    // Any other line, as given.
    void line(const QString &text);

    const QString &text() const { return m_text; }

private:
    QString m_text;
};

} // namespace vexa
