#pragma once

namespace vexa {

class ControlPage;

// Fields and controls that follow other controls of the page: the fire size, the
// wobbler's size rounding, the lake's reflection height, the scroll text amplitudes'
// own fields, the solid scroller's mirror height and the 3D scene's background choice.
class DerivedFields {
public:
    static void connect(ControlPage &page);
    // The nearest multiple of 8 as the wobbler applet needs it (a remainder of 4 rounds up).
    static int roundToEight(int value);
};

} // namespace vexa
