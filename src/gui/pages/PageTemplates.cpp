#include "PageTemplates.h"

namespace vexa {

// The two halves of the table, one per file.
std::vector<PageTemplate> pageTemplatesA();
std::vector<PageTemplate> pageTemplatesB();

const std::vector<PageTemplate> &pageTemplates()
{
    static const std::vector<PageTemplate> all = [] {
        std::vector<PageTemplate> pages = pageTemplatesA();
        for (PageTemplate &page : pageTemplatesB())
            pages.push_back(std::move(page));
        return pages;
    }();
    return all;
}

const PageTemplate *findPageTemplate(int pageId)
{
    for (const PageTemplate &page : pageTemplates()) {
        if (page.pageId == pageId)
            return &page;
    }
    return nullptr;
}

} // namespace vexa
