#include "Catalogue.h"

namespace vexa {

const std::vector<AppletRecord> &Catalogue::applets()
{
    // id, category, folder, class file, archive, sample page, help page, scroll-text file,
    // description, credit
    static const std::vector<AppletRecord> records = {
        {"BLOBS", 6, "blobs", "blobs.class", "blobs.jar", "blobs.html", "blobs.html", "blobscr.txt", 1643, Credit::A},
        {"BLUR", 6, "blur", "vxblur.class", "vxblur.jar", "vxblur.html", "blur.html", "", 1666, Credit::A},
        {"BUMP", 3, "bump", "vexabump.class", "vexabump.jar", "vexabump.html", "bump.html", "bumpscr.txt", 1644, Credit::A},
        {"CFADE", 1, "cfade", "VxFade.class", "VxFade.jar", "vxfade.html", "cfade.html", "", 1645, Credit::A},
        {"FLAG", 6, "flag", "VxFlag.class", "VxFlag.jar", "vxflag.html", "flag.html", "flagscr.txt", 1646, Credit::A},
        {"CUBEMENU", 5, "cubemenu", "CubeMenu.class", "CubeMenu.jar", "cubemenu.html", "cmenu.html", "cbmescr.txt", 1647, Credit::A},
        {"DEFORM", 3, "deform", "Deform.class", "Deform.jar", "deform.html", "deform.html", "defscr.txt", 1648, Credit::A},
        {"FIRE", 6, "fire", "fire.class", "fire.jar", "fire.html", "fire.html", "firescr.txt", 1649, Credit::A},
        {"FLAGLOAD", 6, "flagload", "FlagLoad.class", "FlagLoad.jar", "flagload.html", "flag2.html", "flaglscr.txt", 1651, Credit::A},
        {"FLOZOIDS", 2, "flozoids", "flozoids.class", "flozoids.jar", "flozoids.html", "flozoids.html", "flozscr.txt", 1652, Credit::A},
        {"FLUID", 4, "fluid", "fluid.class", "fluid.jar", "fluid.html", "fluid.html", "fluidscr.txt", 1653, Credit::A},
        {"HUEROT", 3, "huerot", "huerot.class", "huerot.jar", "huerot.html", "huerot.html", "huerscr.txt", 1654, Credit::A},
        {"IFSFRACT", 2, "ifsfract", "VxFract.class", "VxFract.jar", "vxfract.html", "ifsfract.html", "fracscr.txt", 1667, Credit::A},
        {"LAKE", 3, "lake", "VxLake.class", "VxLake.jar", "vxlake.html", "lake.html", "lakescr.txt", 1668, Credit::A},
        {"LENS", 3, "lens", "VxLens.class", "VxLens.jar", "vxlens.html", "lens.html", "", 1650, Credit::A},
        {"LIFE2D", 2, "life2d", "life2d.class", "life2d.jar", "life2d.html", "life2d.html", "lifescr.txt", 1656, Credit::A},
        {"MANDEL", 2, "mandel2", "mandel.class", "mandel.jar", "mandel.html", "mandel.html", "", 1655, Credit::A},
        {"PLASMA", 6, "plasma", "Plasma3.class", "Plasma3.jar", "plasma.html", "plasma.html", "plasmscr.txt", 1658, Credit::A},
        {"ROT", 3, "rot", "Rot2.class", "Rot2.jar", "rota.html", "rot.html", "rotscr.txt", 1657, Credit::A},
        {"TMAPCUBE", 4, "tmapcube", "TmapCube.class", "TmapCube.jar", "tmapcube.html", "tcube.html", "tcubescr.txt", 1660, Credit::A},
        {"TUNNEL", 4, "tunnel", "tunnel.class", "tunnel.jar", "vxtunnel.html", "tunnel.html", "tunnscr.txt", 1659, Credit::A},
        {"TUNNEL3D", 4, "tunnel3d", "tunnel3d.class", "tunnel3d.jar", "tunnel3d.html", "tunnel2.html", "tu3dscr.txt", 1662, Credit::A},
        {"VOXEL", 4, "voxel", "voxel.class", "voxel.jar", "vxvoxel.html", "voxel.html", "voxelscr.txt", 1661, Credit::A},
        {"WARP", 3, "warp", "Warp.class", "Warp.jar", "warp.html", "warp.html", "warpscr.txt", 1664, Credit::A},
        {"WATER", 3, "water", "VxWater.class", "VxWater.jar", "vxwater.html", "water.html", "waterscr.txt", 1663, Credit::A},
        {"WORMHOLE", 4, "wormhole", "wormhole.class", "wormhole.jar", "wormhole.html", "worm.html", "wormscr.txt", 1665, Credit::A},
        {"GALAXY", 4, "galaxy", "galaxy.class", "galaxy.jar", "galaxy.html", "galaxy.html", "galascr.txt", 1670, Credit::B},
        {"BOOKFLIP", 1, "bookflip", "bookflip.class", "bookflip.jar", "bookflip.html", "bookflip.html", "", 1671, Credit::A},
        {"MOSAIC", 1, "mosaic", "mosaic.class", "mosaic.jar", "mosaic.html", "mosaic.html", "", 1672, Credit::A},
        {"VEXA3D LIGHT", 4, "vexa3d", "vexa3d.class", "vexa3d.jar", "vexa3d.html", "vexa3dl.html", "vexa3dscr.txt", 1673, Credit::B},
        {"TEXTSCROLLER", 6, "txtscroll", "txtscroll.class", "txtscroll.jar", "txtscroll.html", "text.html", "txtscr.txt", 1674, Credit::A},
        {"WOBBLER", 3, "wobbler", "wobbler.class", "wobbler.jar", "wobbler.html", "wobbler.html", "wobscr.txt", 1675, Credit::A},
        {"WHEELMENU", 5, "wheelmenu", "wheelmenu.class", "wheelmenu.jar", "wheelmenu.html", "wheel.html", "", 1676, Credit::C},
        {"MORPHMENU", 5, "morphmenu", "morphmenu.class", "morphmenu.jar", "morphmenu.html", "morph.html", "", 1677, Credit::C},
        {"TREEMENU", 5, "treemenu", "treemenu.class", "treemenu.jar", "treemenu.html", "tree.html", "", 1678, Credit::C},
        {"VEXACAM", 6, "vexacam", "vexacam.class", "vexacam.jar", "vexacam.html", "vexacam.html", "", 1684, Credit::A},
        {"VEXAPAINT", 6, "vexapaint", "vexapaint.class", "vexapaint.jar", "vexapaint.html", "vexapaint.html", "", 4011, Credit::A},
        {"SOLIDSCROLLER", 6, "solidscr", "solidscr.class", "solidscr.jar", "solidscr.html", "solidscr.html", "solidscr1.txt", 4032, Credit::A},
        {"SNOW", 3, "vxsnow", "vxsnow.class", "vxsnow.jar", "vxsnow.html", "vxsnow.html", "snowscr.txt", 4045, Credit::A},
        {"FIREWORKS", 3, "firewks", "firewks.class", "firewks.jar", "firewks.html", "fireworks.html", "firewkscr.txt", 4058, Credit::A},
    };
    return records;
}

const std::vector<CategoryRecord> &Catalogue::categories()
{
    static const std::vector<CategoryRecord> records = {
        {1, 1429, "Banner/Slideshow", {"BOOKFLIP", "MOSAIC", "CFADE"}},
        {2, 1430, "Fractals / Alife", {"FLOZOIDS", "IFSFRACT", "MANDEL", "LIFE2D"}},
        {3, 1432, "Image effects",
         {"BUMP", "DEFORM", "HUEROT", "LAKE", "LENS", "WARP", "ROT", "WATER", "WOBBLER", "SNOW", "FIREWORKS"}},
        {4, 1434, "3D Applets",
         {"WORMHOLE", "VOXEL", "TUNNEL3D", "TUNNEL", "TMAPCUBE", "FLUID", "GALAXY", "VEXA3D LIGHT"}},
        {5, 1436, "Navigation menu", {"CUBEMENU", "WHEELMENU", "MORPHMENU", "TREEMENU"}},
        {6, 1437, "Other",
         {"BLUR", "FLAG", "BLOBS", "FIRE", "FLAGLOAD", "PLASMA", "TEXTSCROLLER", "VEXACAM", "VEXAPAINT",
          "SOLIDSCROLLER"}},
    };
    return records;
}

const AppletRecord *Catalogue::find(const QString &appletId)
{
    for (const AppletRecord &record : applets()) {
        if (appletId == QLatin1String(record.id))
            return &record;
    }
    return nullptr;
}

namespace {

// One field of the applet's record, or `fallback` for an id outside the table.
template <typename Field>
auto field(const QString &appletId, Field AppletRecord::*member, Field fallback)
{
    const AppletRecord *record = Catalogue::find(appletId);
    return record ? record->*member : fallback;
}

QString text(const QString &appletId, const char *AppletRecord::*member, const QString &fallback = QString())
{
    const AppletRecord *record = Catalogue::find(appletId);
    return record ? QString::fromLatin1(record->*member) : fallback;
}

} // namespace

QString Catalogue::folderName(const QString &appletId) { return text(appletId, &AppletRecord::folder, appletId); }
QString Catalogue::samplePage(const QString &appletId) { return text(appletId, &AppletRecord::samplePage, appletId); }
QString Catalogue::scrollTextFile(const QString &appletId) { return text(appletId, &AppletRecord::scrollText); }
bool Catalogue::hasCommonScrollText(const QString &appletId)
{
    return !scrollTextFile(appletId).isEmpty() && appletId != QLatin1String("SOLIDSCROLLER");
}
QString Catalogue::archive(const QString &appletId) { return text(appletId, &AppletRecord::archive); }
QString Catalogue::classFile(const QString &appletId) { return text(appletId, &AppletRecord::classFile); }
QString Catalogue::helpPage(const QString &appletId) { return text(appletId, &AppletRecord::helpPage); }
int Catalogue::description(const QString &appletId) { return field(appletId, &AppletRecord::description, 0); }
int Catalogue::category(const QString &appletId) { return field(appletId, &AppletRecord::category, 0); }

int Catalogue::categoryRadioId(int category)
{
    for (const CategoryRecord &c : categories()) {
        if (c.number == category)
            return c.radioId;
    }
    return 0;
}

QStringList Catalogue::appletList(int category)
{
    for (const CategoryRecord &c : categories()) {
        if (c.number == category)
            return c.applets;
    }
    return {};
}

} // namespace vexa
