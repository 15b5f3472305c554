#pragma once

#include "Effect.h"

#include <string>
#include <vector>

namespace vexa::effects {

// One applet tag of a page: its code attribute, size and parameters.
struct AppletTag {
    std::string code;
    int width = 0;
    int height = 0;
    Params params;
};

// Every <applet> ... </applet> of an HTML text, with the <param> tags inside it. Attribute
// values may be quoted either way or not at all; &quot; &amp; &lt; &gt; &#N; and &#xN; are
// decoded. At most 64 tags and 4,096 parameters per tag are read.
std::vector<AppletTag> readAppletTags(const std::string &html);

} // namespace vexa::effects
