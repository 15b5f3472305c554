#pragma once

namespace vexa {

class Page;

// The checks a page runs before the wizard leaves it forward, previews or saves a
// project: the page's own rules in order, then the common rules. The first rule
// that fails shows its message, moves the focus where the rule says and refuses.
class PageValidation {
public:
    static bool validate(Page &page);
};

} // namespace vexa
