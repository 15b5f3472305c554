#include "PageValidation.h"

#include "Page.h"
#include "services/Services.h"
#include "strings/StringIds.h"

namespace vexa {
namespace {

// Fields every page requires while they are shown and enabled.
constexpr int kCommonRequired[] = {1019, 1020, 1013, 4068};

bool required(Page &page, int id)
{
    if (!page.isActive(id) || !page.text(id).isEmpty())
        return true;
    page.control(id)->setFocus();
    page.context().services.showMessage(message(Str::FieldRequired, MessageIcon::Exclamation));
    return false;
}

} // namespace

bool PageValidation::validate(Page &page)
{
    for (int id : kCommonRequired) {
        if (!required(page, id))
            return false;
    }
    return true;
}

} // namespace vexa
