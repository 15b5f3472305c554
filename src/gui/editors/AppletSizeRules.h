#pragma once

#include <QString>

#include <functional>

namespace vexa {

class ControlPage;

// The applet size shown on a page follows its picture: Width and Height are the
// picture's size times the Resolution factor. The page remembers the factor the
// shown size already carries, so a new Resolution rescales instead of multiplying twice.
class AppletSizeRules {
public:
    // Runs a user's change of a size field (`what`, by control id) together with what follows
    // from it; an editor with a history records the whole as one step.
    using ChangeRunner =
        std::function<void(const QString &what, int field, const std::function<void()> &change)>;
    // Resolution rescales the shown size; on the book-flip page Extra height adds to Height.
    static void connect(ControlPage &page, const ChangeRunner &run = {});
    // After a load: the shown size carries the loaded Resolution and extra height.
    static void takeLoadedValues(ControlPage &page);
    // The extra height the shown Height includes (book flip).
    static unsigned extraHeight(const ControlPage &page);
    static void setExtraHeight(ControlPage &page, unsigned extra);
    // The factor the shown Width/Height carry: set by the last rescale, else the Resolution shown.
    static unsigned resolutionFactor(const ControlPage &page);
    static void setResolutionFactor(ControlPage &page, unsigned factor);
    // Shows a picture's own size, factor 1, ready for a rescale.
    static void setPictureSize(ControlPage &page, int width, int height);
    // Width/Height := Resolution × (shown size ÷ factor); factor := Resolution.
    static void rescale(ControlPage &page);
    // LAKE: the applet shows the picture and its reflection, 1.5 or 2 times its height.
    static void reflectionHeight(ControlPage &page);
};

} // namespace vexa
