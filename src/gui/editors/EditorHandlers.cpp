#include "EditorHandlers.h"

#include "ColourButtons.h"
#include "AppletSizeRules.h"
#include "DerivedFields.h"
#include "FrameSequence.h"
#include "ImageListEditor.h"
#include "MenuTreeEditor.h"
#include "PicturePickers.h"
#include "Presets.h"
#include "ScrollTextControls.h"
#include "ScrollTextPreview.h"
#include "Spinners.h"
#include "controls/ControlPage.h"
#include "services/Services.h"
#include "strings/StringIds.h"
#include "strings/StringTable.h"

#include <QAbstractButton>

namespace vexa {
namespace {

// VEXA3D LIGHT: explains why only the built-in objects can be shown.
void connectCustomObjects(ControlPage &page)
{
    auto *button = page.control<QAbstractButton>(1417);
    if (page.pageId() != 182 || !button) return;
    QObject::connect(button, &QAbstractButton::clicked, &page, [&page] {
        page.context().services.showInfo(InfoNotice{
            StringTable::text(Str::CustomObjectsTitle), StringTable::text(Str::CustomObjectsMessage),
            StringTable::text(Str::CustomObjectsLink), QStringLiteral("VEXA3D LIGHT")});
    });
}

} // namespace

void EditorHandlers::connect(ControlPage &page)
{
    // Owned by the page. The picture list's size fields change with its pictures, so their
    // edits go into the list's history.
    auto *images = page.control(1090) ? new ImageListEditor(page) : nullptr;
    if (page.control(1446))
        new MenuTreeEditor(page);
    FrameSequence::connect(page);
    AppletSizeRules::connect(page, images ? images->sizeChangeRunner() : AppletSizeRules::ChangeRunner());
    PicturePickers::connect(page);
    ColourButtons::connect(page);
    Presets::connect(page);
    Spinners::connect(page);
    DerivedFields::connect(page);
    ScrollTextControls::connect(page);
    ScrollTextPreview::attach(page);
    connectCustomObjects(page);
}

} // namespace vexa
