#pragma once

namespace vexa {

class Page;

// The change handlers of a page's controls: dependent controls, the wizard flags,
// pickers, colour buttons, presets and spinners. Connected once when the page is built.
class PageHandlers {
public:
    static void connect(Page &page);
};

} // namespace vexa
