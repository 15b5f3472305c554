#pragma once

namespace vexa {

class ControlPage;

// One-click presets that fill several fields at once: the expert settings (page 135)
// and the wobbler effects (page 196).
class Presets {
public:
    static void connect(ControlPage &page);
};

} // namespace vexa
