#pragma once

namespace vexa {

class ControlPage;

// The "...color..." buttons: each lets the user choose the colour its swatch shows.
class ColourButtons {
public:
    static void connect(ControlPage &page);
};

} // namespace vexa
