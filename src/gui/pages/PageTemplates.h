#pragma once

#include <vector>

namespace vexa {

// What a control of a page template is. The page builds one widget per control.
enum class ControlKind {
    Label,    // a static text: its caption
    Edit,     // single-line edit field
    TextArea, // multi-line edit field
    Check,    // check box with its caption
    Radio,    // radio button; consecutive radios in one group box form one exclusive set
    Combo,    // drop-down list with fixed items (see the combo item lists)
    List,     // list box (image lists)
    Tree,     // menu item tree
    Button,   // push button with its caption
    Swatch,   // colour swatch, painted in the colour it holds
    Spinner,  // up-down arrows acting on the edit field before it in the same row
    Frame,    // an empty framed area the page draws into (scroll text preview)
};

// One control of a page template, in visual order.
struct ControlSpec {
    int id;                         // control id (widget object name "c" + id); 0 for an unnamed label
    ControlKind kind;
    const char *caption = nullptr;  // text of labels, check boxes, radios and buttons; edits, combos and
                                    // lists are labelled by their tooltip text unless a caption is given
    const char *group = nullptr;    // caption of the group box holding the control; nullptr: the page's
                                    // general group. Consecutive controls with the same group share a box.
    bool sameRow = false;           // placed on the row of the control before it (a "Browse..." button
                                    // beside its field, a swatch beside its colour button, a spinner)
};

struct PageTemplate {
    int pageId;
    std::vector<ControlSpec> controls;
};

// Every page template 129..211, in page id order.
const std::vector<PageTemplate> &pageTemplates();
const PageTemplate *findPageTemplate(int pageId);

} // namespace vexa
