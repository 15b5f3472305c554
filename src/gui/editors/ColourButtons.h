#pragma once

namespace vexa {

class Page;

// The "...color..." buttons: each lets the user choose the colour its swatch shows.
class ColourButtons {
public:
    static void connect(Page &page);
};

} // namespace vexa
