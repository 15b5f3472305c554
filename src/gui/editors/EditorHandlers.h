#pragma once

namespace vexa {

class ControlPage;

// The interactive editors of a page between its load and its store: pickers, colour
// buttons, presets, spinners, fields that follow others and the scroll text controls.
// Connected once when the page is built, after the page's own dependent controls.
class EditorHandlers {
public:
    static void connect(ControlPage &page);
};

} // namespace vexa
