#pragma once

namespace vexa {

class Page;

// The checks a page runs before the wizard leaves it forward, previews or saves a
// project: the page's own rules in order, then the common rules. The first rule
// that fails shows its message, moves the focus where the rule says and refuses.
class PageValidation {
public:
    static bool validate(Page &page);
    // The checks before the wizard leaves a page backward, which stores it unchecked: only
    // that the store can hold what the page shows, so nothing is cut without a word.
    static bool canGoBack(Page &page);
};

} // namespace vexa
