#pragma once

namespace vexa {

class Page;

// The applet size shown on a page follows its picture: Width and Height are the
// picture's size times the Resolution factor. The page remembers the factor the
// shown size already carries, so a new Resolution rescales instead of multiplying twice.
class AppletSizeRules {
public:
    // Resolution rescales the shown size; on the book-flip page Extra height adds to Height.
    static void connect(Page &page);
    // After a load: the shown size carries the loaded Resolution and extra height.
    static void takeLoadedValues(Page &page);
    // The extra height the shown Height includes (book flip).
    static unsigned extraHeight(const Page &page);
    // The factor the shown Width/Height carry: set by the last rescale, else the Resolution shown.
    static unsigned resolutionFactor(const Page &page);
    static void setResolutionFactor(Page &page, unsigned factor);
    // Shows a picture's own size, factor 1, ready for a rescale.
    static void setPictureSize(Page &page, int width, int height);
    // Width/Height := Resolution × (shown size ÷ factor); factor := Resolution.
    static void rescale(Page &page);
    // LAKE: the applet shows the picture and its reflection, 1.5 or 2 times its height.
    static void reflectionHeight(Page &page);
};

} // namespace vexa
