#pragma once

#include <QString>

namespace vexa {

// The applet tag under construction: text lines, each ended by CR LF. Values go in as
// stored, with one exception: a double quote inside an attribute value would end the
// value in the browser, so it is written as "&quot;". Nothing else is escaped, so that
// an "&amp;" typed on purpose keeps working.
class TagText {
public:
    // <param name="NAME" value="VALUE">
    void param(const QString &name, const QString &value);
    // A stored value made safe to stand between the double quotes of an attribute.
    static QString attributeValue(const QString &value);
    // Any other line, as given.
    void line(const QString &text);

    const QString &text() const { return m_text; }

private:
    QString m_text;
};

} // namespace vexa
