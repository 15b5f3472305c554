#pragma once

#include <QString>

#include <vector>

namespace vexa {

// The fixed choice lists whose visible texts are stored and turned into their
// positions when the tag is written. Lists that start with an empty entry make
// their first visible choice position 1.
using FixedList = std::vector<const char *>;

extern const FixedList kFlagPatternList;
extern const FixedList kNationList;
extern const FixedList kRotationModeList;
extern const FixedList kTunnelMovementList;
extern const FixedList kVoxelPaletteList;
extern const FixedList kGalaxyScriptList;
extern const FixedList kGalaxyPaletteList;
extern const FixedList kBookFlipList;
extern const FixedList kScene3DList;
extern const FixedList kShadow3DList;
extern const FixedList kMainObject3DList;
extern const FixedList kRender3DList;
extern const FixedList kChildObject3DList;
extern const FixedList kBackground3DList;
extern const FixedList kWheelFilterList;
extern const FixedList kWheelFontList;
extern const FixedList kTreeBorderList;
extern const FixedList kTreeScrollBarList;

// The position of the first entry equal to `text` (exact, case-sensitive), or -1.
int fixedListPosition(const FixedList &list, const QString &text);

} // namespace vexa
