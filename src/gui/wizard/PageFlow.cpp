#include "PageFlow.h"

#include "catalogue/Catalogue.h"

#include <QStringList>

#include <algorithm>
#include <vector>

namespace vexa {
namespace {

struct AppletPages {
    const char *appletId;
    int first;
    int last; // 0: depends on the morph plug-in
};

const AppletPages kAppletPages[] = {
    {"BLUR", 131, 131},      {"BLOBS", 132, 132},      {"BUMP", 136, 136},          {"CFADE", 137, 137},
    {"BOOKFLIP", 138, 138},  {"CUBEMENU", 141, 141},   {"DEFORM", 142, 142},        {"FIRE", 143, 143},
    {"FLAG", 144, 144},      {"FLAGLOAD", 145, 145},   {"FLOZOIDS", 146, 146},      {"FLUID", 147, 147},
    {"HUEROT", 148, 148},    {"IFSFRACT", 149, 149},   {"LAKE", 150, 150},          {"LENS", 151, 151},
    {"LIFE2D", 152, 152},    {"MANDEL", 153, 153},     {"PLASMA", 154, 154},        {"ROT", 156, 156},
    {"TMAPCUBE", 157, 157},  {"TUNNEL", 171, 171},     {"TUNNEL3D", 172, 172},      {"VOXEL", 173, 173},
    {"WARP", 174, 174},      {"WATER", 175, 175},      {"WORMHOLE", 176, 176},      {"GALAXY", 180, 180},
    {"MOSAIC", 181, 181},    {"VEXA3D LIGHT", 182, 183}, {"WHEELMENU", 197, 194},   {"TREEMENU", 197, 201},
    {"MORPHMENU", 197, 0},   {"WOBBLER", 196, 196},    {"TEXTSCROLLER", 198, 198},  {"VEXACAM", 202, 202},
    {"VEXAPAINT", 206, 206}, {"SOLIDSCROLLER", 207, 208}, {"SNOW", 209, 209},       {"FIREWORKS", 210, 210},
};

const AppletPages *find(const QString &appletId)
{
    for (const AppletPages &entry : kAppletPages) {
        if (appletId == QLatin1String(entry.appletId))
            return &entry;
    }
    return nullptr;
}

bool among(int page, std::initializer_list<int> pages) { return std::find(pages.begin(), pages.end(), page) != pages.end(); }
bool inRange(int page, int from, int to) { return page >= from && page <= to; }

// Pages after which the scroll text page comes when the flag is set.
bool leadsToScrollText(int page)
{
    return among(page, {132, 136, 152, 154, 156, 157, 180, 183, 196, 198, 209, 210}) || inRange(page, 142, 150) ||
           inRange(page, 171, 176);
}

} // namespace

int PageFlow::firstPage(const QString &appletId)
{
    const AppletPages *entry = find(appletId);
    return entry ? entry->first : 0;
}

int PageFlow::lastPage(const QString &appletId, const WalkFlags &flags)
{
    const AppletPages *entry = find(appletId);
    if (!entry)
        return 0;
    if (entry->last != 0)
        return entry->last;
    return flags.morphPlugIn == 0 ? 199 : flags.morphPlugIn == 1 ? 200 : 195;
}

int PageFlow::next(int page, const QString &appletId, const WalkFlags &flags)
{
    const int afterOwnPages = flags.scrollText ? ScrollTextPage : ExpertPage;
    const int afterMenuPages = flags.floatWindow ? FloatPage : ExpertPage;
    if (page == SelectionPage) {
        const int first = firstPage(appletId);
        return first ? first : page;
    }
    if (among(page, {131, 137, 138, 151, 153, 181, 202, 208, ScrollTextPage}))
        return ExpertPage;
    if (leadsToScrollText(page))
        return afterOwnPages;
    switch (page) {
    case ExpertPage:
        return LinkPage;
    case LinkPage:
        return CodePage;
    case 206: // the paint applet has no expert page
        return LinkPage;
    case 141:
        return flags.floatWindow ? FloatPage : afterOwnPages;
    case 182:
        return 183;
    case 194:
    case 199:
    case 200:
    case 201:
        return afterMenuPages;
    case 195:
        return flags.morphPlugIn == 0 ? 199 : flags.morphPlugIn == 1 ? 200 : afterMenuPages;
    case MenuItemsPage:
        if (appletId == QLatin1String("WHEELMENU"))
            return 194;
        if (appletId == QLatin1String("TREEMENU"))
            return 201;
        if (appletId == QLatin1String("MORPHMENU"))
            return 195;
        return page;
    case 207:
        return 208;
    case FloatPage:
        return appletId == QLatin1String("CUBEMENU") ? afterOwnPages : ExpertPage;
    default:
        return page; // 134 stays (Publish), unknown pages stay
    }
}

int PageFlow::previous(int page, const QString &appletId, const WalkFlags &flags)
{
    const int last = lastPage(appletId, flags);
    if (among(page, {131, 132, 136, 137, 138, 156, 157, 180, 181, 182, 196, 197, 198, 202, 206, 207, 209, 210}) ||
        inRange(page, 141, 154) || inRange(page, 171, 176))
        return SelectionPage;
    switch (page) {
    case 183:
        return 182;
    case 194:
    case 195:
    case 201:
        return MenuItemsPage;
    case 199:
    case 200:
        return 195;
    case 208:
        return 207;
    case FloatPage:
        return last ? last : page;
    case ScrollTextPage:
        return flags.floatWindow ? FloatPage : (last ? last : page);
    case ExpertPage:
        if (flags.scrollText && (Catalogue::hasCommonScrollText(appletId) || !Catalogue::contains(appletId)))
            return ScrollTextPage;
        return flags.floatWindow ? FloatPage : (last ? last : page);
    case LinkPage:
        return appletId == QLatin1String("VEXAPAINT") ? last : ExpertPage;
    case CodePage:
        return LinkPage;
    default:
        return page;
    }
}

} // namespace vexa
