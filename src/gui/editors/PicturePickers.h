#pragma once

namespace vexa {

class ControlPage;

// The "Browse..." buttons that pick one picture, texture or sound: each checks what
// its applet needs of the file, copies it into the applet folder and names it in its field.
class PicturePickers {
public:
    static void connect(ControlPage &page);
};

} // namespace vexa
