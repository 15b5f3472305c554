#pragma once

namespace vexa {

class Page;

// The change handlers of a page's controls: dependent controls, the wizard flags,
// pickers, colour buttons, presets and spinners. Connected once when the page is built.
class PageHandlers {
public:
    static void connect(Page &page);
    // Brings the controls that depend on a check box or a list in line with it after a
    // load (only the rules that merely enable or disable; those that clear fields run
    // when their key is loaded).
    static void refresh(Page &page);
};

} // namespace vexa
