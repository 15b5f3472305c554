#include "PageTemplates.h"

// Page templates 129 to 157: the controls of each page in visual order, grouped as the page shows them.
// Edits, combos, lists and swatches carry no caption: their tooltip text labels them.

namespace vexa {

std::vector<PageTemplate> pageTemplatesA()
{
    using K = ControlKind;
    return {
        // Applet selection.
        {129,
         {
             {1005, K::Label, "Select the category and the applet you want to configure "},
             {1429, K::Radio, "Banner/Slideshow", "Category"},
             {1430, K::Radio, "Fractals / Alife", "Category"},
             {1432, K::Radio, "Image effects", "Category"},
             {1434, K::Radio, "3D Applets", "Category"},
             {1436, K::Radio, "Navigation menu", "Category"},
             {1437, K::Radio, "Other", "Category"},
             {1002, K::Combo, nullptr, "Applet"},
             {1004, K::Label, "", "Applet"},
             {1003, K::Button, "Applet preview...", "Applet"},
             {1165, K::Button, "Preview all...", "Applet", true},
         }},

        // BLUR: numbered frame sequence.
        {131,
         {
             {1066, K::Edit, nullptr, "Frames"},
             {1067, K::Button, "&Browse...", "Frames", true},
             {1068, K::Edit, nullptr, "Frames"},
             {1079, K::Edit, "File format", "Frames"},
             {1019, K::Edit, nullptr, "Frames"},
             {1020, K::Edit, nullptr, "Frames"},
             {1072, K::Check, "Double size", "Frames"},
             {1070, K::Radio, "Ping pong", "Replay"},
             {1071, K::Radio, "Cyclic", "Replay"},
             {1073, K::Edit, nullptr, "Replay"},
             {1074, K::Edit, nullptr, "Replay"},
             {1075, K::Edit, nullptr, "Replay"},
             {1076, K::Edit, nullptr, "Sound"},
             {1078, K::Button, "Bro&wse...", "Sound", true},
             {1077, K::Edit, nullptr, "Sound"},
             {1069, K::Button, "Br&owse...", "Sound", true},
         }},

        // BLOBS.
        {132,
         {
             {1019, K::Edit, nullptr, "Size"},
             {1020, K::Edit, nullptr, "Size"},
             {1010, K::Combo, nullptr, "Size"},
             {1009, K::Combo, nullptr, "Blobs"},
             {1024, K::Edit, nullptr, "Blobs"},
             {1030, K::Edit, nullptr, "Blobs"},
             {1035, K::Edit, nullptr, "Blobs"},
             {1012, K::Combo, nullptr, "Blobs"},
             {1011, K::Combo, nullptr, "Blobs"},
             {1006, K::Check, "Sine mode", "Effects"},
             {1007, K::Check, "Star shape", "Effects"},
             {1008, K::Check, "Negative color", "Effects"},
             {1014, K::Check, "Enable textscroll"},
         }},

        // Scroll text, common to every applet with a scroll text.
        {133,
         {
             {1333, K::Combo, "Scroll type", "Text"},
             {1013, K::TextArea, nullptr, "Text"},
             {1015, K::Button, "Text from file...", "Text"},
             {1050, K::Combo, nullptr, "Font"},
             {1340, K::Check, "Standard", "Font", true},
             {1054, K::Combo, nullptr, "Font"},
             {1338, K::Check, "Italic", "Font"},
             {1053, K::Check, "Bold", "Font", true},
             {1017, K::Button, "Color...", "Font"},
             {1336, K::Combo, nullptr, "Font"},
             {1337, K::Combo, nullptr, "Font"},
             {1334, K::Edit, nullptr, "Position"},
             {1046, K::Edit, nullptr, "Position"},
             {1021, K::Edit, nullptr, "Position"},
             {1033, K::Edit, nullptr, "Sine"},
             {1039, K::Edit, nullptr, "Sine"},
             {1037, K::Edit, nullptr, "Sine"},
             {1042, K::Edit, nullptr, "Jump"},
             {1027, K::Edit, nullptr, "Jump"},
             {1016, K::Check, "Shadow", "Shadow"},
             {1018, K::Button, "Shadow color..", "Shadow", true},
             {1065, K::Frame, nullptr, "Preview"},
         }},

        // HTML code, the last page.
        {134,
         {
             {1055, K::TextArea, nullptr, "HTML code"},
             {1003, K::Button, "Preview...", "HTML code"},
             {1312, K::Button, "Copy into clipboard", "HTML code", true},
             {1056, K::Button, "Copy all files to...", "HTML code"},
             {4004, K::Button, "Set as Active Desktop Item", "HTML code", true},
         }},

        // Expert settings and messages, common.
        {135,
         {
             {1057, K::Edit, nullptr, "Expert settings"},
             {1058, K::Edit, nullptr, "Expert settings"},
             {1059, K::Edit, nullptr, "Expert settings"},
             {1061, K::Spinner, nullptr, "Expert settings", true},
             {1060, K::Check, "Fix for Netscape 3.x", "Expert settings"},
             {1062, K::Button, "Optimize for compatibility", "Expert settings"},
             {1063, K::Button, "Optimize for speed", "Expert settings"},
             {1064, K::Button, "Standard settings", "Expert settings"},
             {1142, K::Edit, nullptr, "Messages"},
             {1143, K::Edit, nullptr, "Messages"},
             {1326, K::Check, "Enable over image", "Over image"},
             {1315, K::Edit, nullptr, "Over image"},
             {1314, K::Button, "Browse...", "Over image", true},
             {1316, K::Edit, nullptr, "Over image"},
             {1317, K::Edit, nullptr, "Over image"},
         }},

        // BUMP.
        {136,
         {
             {1080, K::Edit, nullptr, "Image"},
             {1082, K::Button, "Browse...", "Image", true},
             {1019, K::Edit, nullptr, "Image"},
             {1020, K::Edit, nullptr, "Image"},
             {1010, K::Combo, nullptr, "Image"},
             {1083, K::Check, "Alternative bumpmap", "Image"},
             {1081, K::Edit, nullptr, "Image"},
             {1084, K::Button, "Browse...", "Image", true},
             {1085, K::Combo, nullptr, "Bump"},
             {1088, K::Combo, nullptr, "Bump"},
             {1089, K::Check, "Interactive mode", "Bump"},
             {1086, K::Edit, nullptr, "Light"},
             {1087, K::Edit, nullptr, "Light"},
             {1023, K::Edit, nullptr, "Light"},
             {1026, K::Edit, nullptr, "Light"},
             {1284, K::Edit, nullptr, "Light"},
             {1014, K::Check, "Enable textscroll"},
         }},

        // CFADE: slideshow with cross fades.
        {137,
         {
             {1090, K::List, nullptr, "Images"},
             {1091, K::Button, "Add...", "Images"},
             {1096, K::Button, "Move up", "Images", true},
             {1097, K::Button, "Move down", "Images", true},
             {1140, K::Button, "Remove", "Images", true},
             {1092, K::Edit, nullptr, "Images"},
             {1094, K::Edit, nullptr, "Images"},
             {1019, K::Edit, nullptr, "Size"},
             {1020, K::Edit, nullptr, "Size"},
             {1010, K::Combo, nullptr, "Size"},
             {1342, K::Check, "Progressive fade", "Fade"},
             {1093, K::Edit, nullptr, "Fade"},
             {1095, K::Edit, nullptr, "Fade"},
         }},

        // BOOKFLIP: the back colour fills the extra height.
        {138,
         {
             {1090, K::List, nullptr, "Images"},
             {1091, K::Button, "Add...", "Images"},
             {1096, K::Button, "Move up", "Images", true},
             {1097, K::Button, "Move down", "Images", true},
             {1140, K::Button, "Remove", "Images", true},
             {1092, K::Edit, nullptr, "Images"},
             {1094, K::Edit, nullptr, "Images"},
             {1352, K::Combo, nullptr, "Images"},
             {1019, K::Edit, nullptr, "Size"},
             {1020, K::Edit, nullptr, "Size"},
             {1010, K::Combo, nullptr, "Size"},
             {1354, K::Edit, nullptr, "Size"},
             {1103, K::Button, "Back. color...", "Size"},
             {1424, K::Swatch, nullptr, "Size", true},
             {1093, K::Edit, nullptr, "Flip"},
             {1095, K::Edit, nullptr, "Flip"},
             {1356, K::Combo, nullptr, "Flip"},
             {1358, K::Combo, nullptr, "Flip"},
         }},

        // CUBEMENU: six faces with links.
        {141,
         {
             {1090, K::List, nullptr, "Cube faces"},
             {1091, K::Button, "Add...", "Cube faces"},
             {1096, K::Button, "Move up", "Cube faces", true},
             {1097, K::Button, "Move down", "Cube faces", true},
             {1140, K::Button, "Remove", "Cube faces", true},
             {1092, K::Edit, nullptr, "Cube faces"},
             {1094, K::Edit, nullptr, "Cube faces"},
             {1019, K::Edit, nullptr, "Size"},
             {1020, K::Edit, nullptr, "Size"},
             {1010, K::Combo, nullptr, "Size"},
             {1100, K::Edit, nullptr, "Rotation"},
             {1101, K::Edit, nullptr, "Rotation"},
             {1102, K::Edit, nullptr, "Rotation"},
             {1103, K::Button, "Back. color...", "Background"},
             {1424, K::Swatch, nullptr, "Background", true},
             {1104, K::Check, "Clear background", "Background"},
             {1105, K::Edit, nullptr, "Background"},
             {1106, K::Button, "Browse...", "Background", true},
             {1014, K::Check, "Enable textscroll"},
             {4061, K::Check, "Float mode"},
         }},

        // DEFORM.
        {142,
         {
             {1107, K::Edit, nullptr, "Image"},
             {1117, K::Button, "Browse...", "Image", true},
             {1019, K::Edit, nullptr, "Image"},
             {1020, K::Edit, nullptr, "Image"},
             {1010, K::Combo, nullptr, "Image"},
             {1109, K::Edit, nullptr, "Waves"},
             {1110, K::Edit, nullptr, "Waves"},
             {1111, K::Edit, nullptr, "Waves"},
             {1112, K::Edit, nullptr, "Waves"},
             {1113, K::Edit, nullptr, "Wave offsets"},
             {1114, K::Edit, nullptr, "Wave offsets"},
             {1115, K::Edit, nullptr, "Wave offsets"},
             {1116, K::Edit, nullptr, "Wave offsets"},
             {1014, K::Check, "Enable textscroll"},
         }},

        // FIRE: the applet size follows from the fire size and its factors.
        {143,
         {
             {1118, K::Edit, nullptr, "Size"},
             {1132, K::Spinner, nullptr, "Size", true},
             {1119, K::Edit, nullptr, "Size"},
             {1133, K::Spinner, nullptr, "Size", true},
             {1120, K::Combo, nullptr, "Size"},
             {1121, K::Combo, nullptr, "Size"},
             {1019, K::Edit, nullptr, "Size"},
             {1020, K::Edit, nullptr, "Size"},
             {1122, K::Edit, nullptr, "Fire"},
             {1123, K::Edit, nullptr, "Fire"},
             {1124, K::Edit, nullptr, "Fire"},
             {1131, K::Spinner, nullptr, "Fire", true},
             {1127, K::Combo, nullptr, "Fire"},
             {1125, K::Radio, "Rectangle shape", "Shape"},
             {1126, K::Radio, "Convex shape", "Shape"},
             {1128, K::Combo, nullptr, "Colours"},
             {1129, K::Combo, nullptr, "Colours"},
             {1130, K::Combo, nullptr, "Colours"},
             {1014, K::Check, "Enable textscroll"},
         }},

        // FLAG.
        {144,
         {
             {1019, K::Edit, nullptr, "Size"},
             {1020, K::Edit, nullptr, "Size"},
             {1010, K::Combo, nullptr, "Size"},
             {1138, K::Combo, nullptr, "Flag"},
             {1135, K::Combo, nullptr, "Flag"},
             {1428, K::Combo, nullptr, "Flag"},
             {1139, K::Combo, nullptr, "Flag"},
             {1136, K::Edit, nullptr, "Flag"},
             {1137, K::Combo, nullptr, "Flag"},
             {1103, K::Button, "Back. color...", "Flag"},
             {1424, K::Swatch, nullptr, "Flag", true},
             {1014, K::Check, "Enable textscroll"},
         }},

        // FLAGLOAD: a flag from a picture.
        {145,
         {
             {1107, K::Edit, nullptr, "Image"},
             {1117, K::Button, "Browse...", "Image", true},
             {1019, K::Edit, nullptr, "Image"},
             {1020, K::Edit, nullptr, "Image"},
             {1010, K::Combo, nullptr, "Image"},
             {1135, K::Combo, nullptr, "Flag"},
             {1428, K::Combo, nullptr, "Flag"},
             {1139, K::Combo, nullptr, "Flag"},
             {1136, K::Edit, nullptr, "Flag"},
             {1137, K::Combo, nullptr, "Flag"},
             {1103, K::Button, "Back. color...", "Background"},
             {1424, K::Swatch, nullptr, "Background", true},
             {1152, K::Check, "Back image", "Background"},
             {1105, K::Edit, nullptr, "Background"},
             {1106, K::Button, "Browse...", "Background", true},
             {1014, K::Check, "Enable textscroll"},
         }},

        // FLOZOIDS.
        {146,
         {
             {1019, K::Edit, nullptr, "Size"},
             {1020, K::Edit, nullptr, "Size"},
             {1144, K::Edit, nullptr, "Flozoids"},
             {1145, K::Edit, nullptr, "Flozoids"},
             {1146, K::Edit, nullptr, "Flozoids"},
             {1147, K::Edit, nullptr, "Flozoids"},
             {1148, K::Edit, nullptr, "Flozoids"},
             {1149, K::Edit, nullptr, "Flozoids"},
             {1150, K::Check, "Flozoid head", "Flozoids"},
             {1151, K::Check, "Over textscroll", "Flozoids"},
             {1089, K::Check, "Interactive mode", "Flozoids"},
             {1153, K::Button, "First color...", "Colours"},
             {1425, K::Swatch, nullptr, "Colours", true},
             {1154, K::Button, "Last color...", "Colours"},
             {1426, K::Swatch, nullptr, "Colours", true},
             {1103, K::Button, "Back. color...", "Colours"},
             {1424, K::Swatch, nullptr, "Colours", true},
             {1152, K::Check, "Back image", "Colours"},
             {1105, K::Edit, nullptr, "Colours"},
             {1106, K::Button, "Browse...", "Colours", true},
             {1014, K::Check, "Enable textscroll"},
         }},

        // FLUID.
        {147,
         {
             {1019, K::Edit, nullptr, "Size"},
             {1020, K::Edit, nullptr, "Size"},
             {1010, K::Combo, nullptr, "Size"},
             {1155, K::Check, "Autodesign", "Fluid"},
             {1156, K::Combo, nullptr, "Fluid"},
             {1161, K::Check, "Volcano", "Fluid"},
             {1162, K::Combo, nullptr, "Fluid"},
             {1157, K::Edit, nullptr, "Drops"},
             {1158, K::Edit, nullptr, "Drops"},
             {1159, K::Edit, nullptr, "Drops"},
             {1160, K::Edit, nullptr, "Drops"},
             {1014, K::Check, "Enable textscroll"},
         }},

        // HUEROT.
        {148,
         {
             {1107, K::Edit, nullptr, "Image"},
             {1117, K::Button, "Browse...", "Image", true},
             {1019, K::Edit, nullptr, "Image"},
             {1020, K::Edit, nullptr, "Image"},
             {1010, K::Combo, nullptr, "Image"},
             {1163, K::Edit, nullptr, "Hue"},
             {1014, K::Check, "Enable textscroll"},
         }},

        // IFSFRACT.
        {149,
         {
             {1019, K::Edit, nullptr, "Size"},
             {1020, K::Edit, nullptr, "Size"},
             {1166, K::Edit, nullptr, "Fractal"},
             {1167, K::Edit, nullptr, "Fractal"},
             {1168, K::Edit, nullptr, "Fractal"},
             {1169, K::Edit, nullptr, "Fractal"},
             {1170, K::Edit, nullptr, "Fractal"},
             {1171, K::Edit, nullptr, "Fractal"},
             {1172, K::Edit, nullptr, "Fractal"},
             {1173, K::Combo, nullptr, "Pen"},
             {1174, K::Check, "Progress", "Pen"},
             {1176, K::Edit, nullptr, "Pen"},
             {1175, K::Check, "Invert progression", "Pen"},
             {1177, K::Check, "Different effect", "Pen"},
             {1178, K::Button, "First color...", "Colours"},
             {1425, K::Swatch, nullptr, "Colours", true},
             {1179, K::Button, "Last color...", "Colours"},
             {1426, K::Swatch, nullptr, "Colours", true},
             {1103, K::Button, "Back. color...", "Colours"},
             {1424, K::Swatch, nullptr, "Colours", true},
             {1152, K::Check, "Back image", "Colours"},
             {1105, K::Edit, nullptr, "Colours"},
             {1106, K::Button, "Browse...", "Colours", true},
             {1180, K::Check, "Text over fractal"},
             {1014, K::Check, "Enable textscroll"},
         }},

        // LAKE: the reflection doubles the picture height.
        {150,
         {
             {1080, K::Edit, nullptr, "Image"},
             {1082, K::Button, "Browse...", "Image", true},
             {1019, K::Edit, nullptr, "Image"},
             {1020, K::Edit, nullptr, "Image"},
             {1010, K::Combo, nullptr, "Image"},
             {1535, K::Check, "Half reflect", "Image"},
             {1137, K::Combo, nullptr, "Wind"},
             {1187, K::Edit, nullptr, "Wind"},
             {1188, K::Spinner, nullptr, "Wind", true},
             {1189, K::Combo, nullptr, "Wind"},
             {1190, K::Combo, nullptr, "Wind"},
             {1181, K::Edit, nullptr, "Waves"},
             {1182, K::Spinner, nullptr, "Waves", true},
             {1183, K::Edit, nullptr, "Waves"},
             {1184, K::Spinner, nullptr, "Waves", true},
             {1185, K::Edit, nullptr, "Waves"},
             {1186, K::Spinner, nullptr, "Waves", true},
             {1014, K::Check, "Enable textscroll"},
         }},

        // LENS.
        {151,
         {
             {1080, K::Edit, nullptr, "Image"},
             {1082, K::Button, "Browse...", "Image", true},
             {1019, K::Edit, nullptr, "Image"},
             {1020, K::Edit, nullptr, "Image"},
             {1191, K::Edit, nullptr, "Lens"},
             {1195, K::Edit, nullptr, "Lens"},
             {1197, K::Combo, nullptr, "Lens"},
             {1198, K::Combo, nullptr, "Lens"},
             {1196, K::Check, "Interactive mode", "Lens"},
             {1192, K::Check, "Distortion", "Distortion"},
             {1194, K::Combo, nullptr, "Distortion"},
             {1193, K::Edit, nullptr, "Distortion"},
         }},

        // LIFE2D.
        {152,
         {
             {1019, K::Edit, nullptr, "Size"},
             {1020, K::Edit, nullptr, "Size"},
             {1199, K::Combo, nullptr, "Size"},
             {1201, K::Combo, nullptr, "Life"},
             {1200, K::Button, "Foregr. color...", "Colours"},
             {1427, K::Swatch, nullptr, "Colours", true},
             {1103, K::Button, "Back. color...", "Colours"},
             {1424, K::Swatch, nullptr, "Colours", true},
             {1014, K::Check, "Enable textscroll"},
         }},

        // MANDEL.
        {153,
         {
             {1019, K::Edit, nullptr, "Size"},
             {1020, K::Edit, nullptr, "Size"},
             {1202, K::Combo, nullptr, "Size"},
             {1209, K::Combo, nullptr, "Size"},
             {1203, K::Edit, nullptr, "Zoom"},
             {1204, K::Edit, nullptr, "Zoom"},
             {1205, K::Edit, nullptr, "Zoom"},
             {1206, K::Edit, nullptr, "Zoom"},
             {1207, K::Edit, nullptr, "Zoom"},
             {1208, K::Edit, nullptr, "Zoom"},
         }},

        // PLASMA.
        {154,
         {
             {1019, K::Edit, nullptr, "Size"},
             {1020, K::Edit, nullptr, "Size"},
             {1210, K::Combo, nullptr, "Size"},
             {1224, K::Combo, "Speed", "Size"},
             {1211, K::Edit, nullptr, "Plasma"},
             {1212, K::Edit, nullptr, "Plasma"},
             {1213, K::Edit, nullptr, "Plasma"},
             {1215, K::Edit, nullptr, "Red"},
             {1216, K::Edit, nullptr, "Red"},
             {1217, K::Combo, nullptr, "Red"},
             {1218, K::Edit, nullptr, "Green"},
             {1219, K::Edit, nullptr, "Green"},
             {1220, K::Combo, nullptr, "Green"},
             {1221, K::Edit, nullptr, "Blue"},
             {1222, K::Edit, nullptr, "Blue"},
             {1223, K::Combo, nullptr, "Blue"},
             {1014, K::Check, "Enable textscroll"},
         }},

        // Link of the whole applet, common; 1311 shows the description of the target mode.
        {155,
         {
             {1232, K::Check, "Enable link", "Link"},
             {1233, K::Edit, nullptr, "Link"},
             {1231, K::Check, "..in new target frame", "Link"},
             {1250, K::Combo, nullptr, "Link"},
             {1249, K::Edit, nullptr, "Link"},
             {1311, K::Label, "", "Link"},
         }},

        // ROT.
        {156,
         {
             {1107, K::Edit, nullptr, "Image"},
             {1117, K::Button, "Browse...", "Image", true},
             {1019, K::Edit, nullptr, "Image"},
             {1020, K::Edit, nullptr, "Image"},
             {1235, K::Combo, nullptr, "Image"},
             {1323, K::Check, "Tile image", "Background"},
             {1105, K::Edit, nullptr, "Background"},
             {1106, K::Button, "Browse...", "Background", true},
             {1103, K::Button, "Back. color...", "Background"},
             {1424, K::Swatch, nullptr, "Background", true},
             {1236, K::Combo, nullptr, "Rotation"},
             {1237, K::Combo, nullptr, "Rotation"},
             {1238, K::Edit, nullptr, "Rotation"},
             {1239, K::Edit, nullptr, "Rotation"},
             {1240, K::Edit, nullptr, "Rotation"},
             {1243, K::Edit, nullptr, "Rotation"},
             {1244, K::Edit, nullptr, "Rotation"},
             {1242, K::Combo, nullptr, "Distortion"},
             {1245, K::Combo, nullptr, "Distortion"},
             {1324, K::Edit, nullptr, "Distortion"},
             {1014, K::Check, "Enable textscroll"},
         }},

        // TMAPCUBE: six faces, no links.
        {157,
         {
             {1090, K::List, nullptr, "Cube faces"},
             {1091, K::Button, "Add...", "Cube faces"},
             {1096, K::Button, "Move up", "Cube faces", true},
             {1097, K::Button, "Move down", "Cube faces", true},
             {1140, K::Button, "Remove", "Cube faces", true},
             {1019, K::Edit, nullptr, "Size"},
             {1020, K::Edit, nullptr, "Size"},
             {1010, K::Combo, nullptr, "Size"},
             {1100, K::Edit, nullptr, "Rotation"},
             {1101, K::Edit, nullptr, "Rotation"},
             {1102, K::Edit, nullptr, "Rotation"},
             {1089, K::Check, "Interactive mode", "Rotation"},
             {1246, K::Check, "Lightsource", "Light"},
             {1241, K::Edit, nullptr, "Light"},
             {1247, K::Edit, nullptr, "Light"},
             {1248, K::Edit, nullptr, "Light"},
             {1103, K::Button, "Back. color...", "Background"},
             {1424, K::Swatch, nullptr, "Background", true},
             {1104, K::Check, "Clear background", "Background"},
             {1105, K::Edit, nullptr, "Background"},
             {1106, K::Button, "Browse...", "Background", true},
             {1014, K::Check, "Enable textscroll"},
         }},
    };
}

} // namespace vexa

// Points to check against the running pages:
// 131: 1079 (image type) has no tooltip text, so it shows no label of its own. The sound
//      browse buttons follow the handler table: 1078 fills 1076 (first-frame sound), 1069 fills 1077.
// 133: no swatch ids exist for the text and shadow colours; the preview frame 1065 shows them.
//      "Shadow color.." keeps its single trailing dot as quoted.
// 136, 150, 151: 1082 is quoted both as "Browse..." and "..."; "Browse..." used on all three.
// 137, 138, 141: the static text above the link field 1092 has no quoted wording and is left out
//      (the field's tooltip labels it). On 138 the flip combo 1352 is labelled by its tooltip
//      "Flip effect", not by the quoted "Flip mode for selected image".
// 138: 1103/1424 sit with the size fields because the colour only fills the extra height (1354).
// 141, 145, 146, 149, 156, 157: the caption of the background browse button 1106 is not quoted
//      ("..." on page 194); "Browse..." used.
// 143: Width/Height (1019, 1020) are bound to no key but are filled by the fire size handler, so
//      they are on the page. Radio captions 1125/1126 and the check captions on 132, 141, 146, 147,
//      149, 157 are derived from their tooltips; 1161 uses its key name "Volcano".
// 145, 146, 149: 1152 is quoted as "Back image" / "Background image" without saying which page
//      uses which; "Back image" used.
// 155: the description label 1311 shares its id with string 1311 (the copy error text), so its
//      tooltip would read "Error ! Problem when copying file in applet directory"; the page should
//      give this label no tooltip.
