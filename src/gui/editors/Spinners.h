#pragma once

namespace vexa {

class ControlPage;

// The up-down arrows beside a number field: each arrow steps the field, but never
// takes a step that would leave the field's bounds.
class Spinners {
public:
    static void connect(ControlPage &page);
    // The value after one step, or `value` itself when the step would leave [minimum, maximum].
    static int step(int value, int delta, int minimum, int maximum);
};

} // namespace vexa
