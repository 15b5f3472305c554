#include "FixedLists.h"

namespace vexa {

// Some lists hold a text twice ("yellow", "red", ... in the voxel palette); the
// earlier position always wins.
const FixedList kFlagPatternList = {"", "Small dots", "Double dots", "Stars", "Stars with central hole", "Triangles", "Triple dots", "Triple dots dithered 1", "Triple dots dithered 2"};
const FixedList kNationList = {"", "Italy", "Spain", "France", "Ireland", "Austria", "Germany", "Netherlands (Holland)", "Belgium", "Luxembourg", "Sweden", "Norway", "Iceland", "Groenland", "Denmark", "Finland", "Poland", "Hungary", "Switzerland", "South Africa", "Russia", "Japan", "Israel", "Greece", "Usa", "Canada", "Australia", "New Zealand", "United Kingdom", "Argentina", "Peru'", "Venezuela", "Mexico", "Brazil", "Colombia"};
const FixedList kRotationModeList = {"", "Zoom and rotate", "Rotate only", "Zoom only", "Distort only", "Zoom and distort", "Automatic"};
const FixedList kTunnelMovementList = {"", "Advance", "Back", "Anticlockwise rotation", "Clockwise rotation", "Advance + clockwise rotation", "Advance + anticlockwise rotation", "Back + clockwise rotation", "Back + anticlockwise rotation"};
const FixedList kVoxelPaletteList = {"", "red -> blue", "orange -> green", "green -> blue", "blue -> green", "green -> red", "blue -> red", "yellow", "yellow -> blue", "violet", "red", "violet -> green", "pink -> green", "blue", "blue2", "azure", "green", "green2", "gray", "blue -> yellow", "yellow", "azure -> red", "green -> violet", "red", "violet", "gray", "gray2", "gray3"};
const FixedList kGalaxyScriptList = {"Circular Galaxy", "Sphere -> Ring", "Tubular Galaxy", "Spiral Galaxy", "Rotating System", "Into Sphere", "Supernova", "Sphere -> Tubular", "Wave -> Atom", "Cone -> Wave", "All effects one color", "All effects all colors"};
const FixedList kGalaxyPaletteList = {"white", "blue", "red->black", "red->violet", "green", "red->white"};
const FixedList kBookFlipList = {"IN -> up-right", "IN -> down-right", "IN -> down-left", "IN -> up-left", "OUT -> down-left", "OUT -> up-left", "OUT -> up-right", "OUT -> down-righ"};
const FixedList kScene3DList = {"Objects", "Labyrinth"};
const FixedList kShadow3DList = {"No", "Hires", "Lores"};
const FixedList kMainObject3DList = {"sphere", "sheet", "cone"};
const FixedList kRender3DList = {"Plain texture", "Gouraud shading", "Phong shading", "Gaussian phong shading", "Transparent (light)", "Transparent (medium)", "Liquid texture", "Liquid gouraud shading", "Liquid phong shading", "Liquid transparent", "Reflects mirror view", "Particles", "Darker plain texture", "Metal shading", "Environment mapping"};
const FixedList kChildObject3DList = {"Off", "Toroids", "Stretching spheres", "Cones"};
const FixedList kBackground3DList = {"black", "sphere", "colour"};
const FixedList kWheelFilterList = {"none", "smooth", "colorize"};
const FixedList kWheelFontList = {"font0.class", "font1.class"};
const FixedList kTreeBorderList = {"no borders", "1 line", "3 lines"};
const FixedList kTreeScrollBarList = {"11 pixel", "16 pixels"};

int fixedListPosition(const FixedList &list, const QString &text)
{
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (text == QString::fromUtf8(list[i]))
            return int(i);
    }
    return -1;
}

} // namespace vexa
