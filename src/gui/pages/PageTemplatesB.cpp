#include "PageTemplates.h"

// Page templates 171 to 211: the controls of each page in visual order,
// grouped as the page shows them. Edits, combos, lists and swatches carry no caption: their tooltip
// text labels them. Where a field has no tooltip, a static text (id 0) or the group caption names it.

namespace vexa {

std::vector<PageTemplate> pageTemplatesB()
{
    using K = ControlKind;
    return {
        // TUNNEL.
        {171,
         {
             {1107, K::Edit, nullptr, "Image"},
             {1117, K::Button, "Browse...", "Image", true},
             {1019, K::Edit, nullptr, "Image"},
             {1020, K::Edit, nullptr, "Image"},
             {1251, K::Combo, nullptr, "Image"},
             // Filled from the picked picture; they have no tooltip, so the group names them.
             {0, K::Label, "Width", "Texture size"},
             {1028, K::Edit, nullptr, "Texture size", true},
             {0, K::Label, "Height", "Texture size"},
             {1031, K::Edit, nullptr, "Texture size", true},
             {1252, K::Edit, nullptr, "Tunnel"},
             {1253, K::Edit, nullptr, "Tunnel"},
             {1254, K::Edit, nullptr, "Tunnel"},
             {1022, K::Edit, nullptr, "Tunnel"},
             {1025, K::Edit, nullptr, "Tunnel"},
             {1255, K::Combo, nullptr, "Tunnel"},
             {1256, K::Combo, nullptr, "Tunnel"},
             {1014, K::Check, "Enable textscroll"},
         }},

        // TUNNEL3D.
        {172,
         {
             {1107, K::Edit, nullptr, "Image"},
             {1117, K::Button, "Browse...", "Image", true},
             {1019, K::Edit, nullptr, "Image"},
             {1020, K::Edit, nullptr, "Image"},
             {1257, K::Combo, nullptr, "Image"},
             {1032, K::Edit, nullptr, "Tunnel"},
             {1034, K::Edit, nullptr, "Tunnel"},
             {1036, K::Edit, nullptr, "Tunnel"},
             {1100, K::Edit, nullptr, "Tunnel"},
             {1101, K::Edit, nullptr, "Tunnel"},
             {1102, K::Edit, nullptr, "Tunnel"},
             {1260, K::Check, "Square", "Tunnel"},
             {1196, K::Check, "Interactive mode", "Tunnel"},
             {1023, K::Edit, nullptr, "Light"},
             {1026, K::Edit, nullptr, "Light"},
             {1029, K::Edit, nullptr, "Light"},
             {1258, K::Check, "Shading", "Light"},
             {1259, K::Check, "Inverse lighting", "Light"},
             {1261, K::Check, "Bends", "Bends"},
             {1041, K::Edit, nullptr, "Bends"},
             {1043, K::Edit, nullptr, "Bends"},
             {1045, K::Edit, nullptr, "Bends"},
             {1047, K::Edit, nullptr, "Bends"},
             {1049, K::Edit, nullptr, "Bends"},
             {1051, K::Edit, nullptr, "Bends"},
             {1014, K::Check, "Enable textscroll"},
         }},

        // VOXEL.
        {173,
         {
             {1019, K::Edit, nullptr, "Size"},
             {1020, K::Edit, nullptr, "Size"},
             {1285, K::Combo, nullptr, "Size"},
             {1332, K::Edit, nullptr, "Landscape"},
             {1117, K::Button, "Browse...", "Landscape", true},
             {1286, K::Edit, nullptr, "Landscape"},
             {1288, K::Edit, nullptr, "Landscape"},
             {1325, K::Edit, nullptr, "Landscape"},
             {1209, K::Combo, nullptr, "Colours"},
             {1103, K::Button, "Back. color...", "Colours"},
             {1424, K::Swatch, nullptr, "Colours", true},
             {1014, K::Check, "Enable textscroll"},
         }},

        // WARP.
        {174,
         {
             {1107, K::Edit, nullptr, "Image"},
             {1117, K::Button, "Browse...", "Image", true},
             {1019, K::Edit, nullptr, "Image"},
             {1020, K::Edit, nullptr, "Image"},
             {1291, K::Combo, nullptr, "Image"},
             {1292, K::Combo, nullptr, "Image"},
             {1293, K::Edit, nullptr, "Spiral"},
             {1294, K::Edit, nullptr, "Spiral"},
             {1295, K::Edit, nullptr, "Spiral"},
             {1296, K::Edit, nullptr, "Spiral"},
             {1297, K::Edit, nullptr, "Breath"},
             {1298, K::Edit, nullptr, "Breath"},
             {1299, K::Edit, nullptr, "Breath"},
             {1300, K::Edit, nullptr, "Breath"},
             {1014, K::Check, "Enable textscroll"},
         }},

        // WATER.
        {175,
         {
             {1107, K::Edit, nullptr, "Image"},
             {1117, K::Button, "Browse...", "Image", true},
             {1019, K::Edit, nullptr, "Image"},
             {1020, K::Edit, nullptr, "Image"},
             {1010, K::Combo, nullptr, "Image"},
             {1155, K::Check, "Autodesign", "Fluid"},
             {1156, K::Combo, nullptr, "Fluid"},
             {1440, K::Combo, nullptr, "Fluid"},
             {1157, K::Edit, nullptr, "Fluid"},
             {1158, K::Edit, nullptr, "Fluid"},
             {1159, K::Edit, nullptr, "Fluid"},
             {1160, K::Edit, nullptr, "Fluid"},
             {1162, K::Combo, nullptr, "Fluid"},
             {1438, K::Edit, nullptr, "Fluid"},
             {1327, K::Check, "Fix drops", "Fixed drops"},
             {1328, K::Edit, nullptr, "Fixed drops"},
             {1329, K::Edit, nullptr, "Fixed drops"},
             {1330, K::Edit, nullptr, "Fixed drops"},
             {1331, K::Edit, nullptr, "Fixed drops"},
             {1301, K::Check, "Cross", "Effects"},
             {1302, K::Edit, nullptr, "Effects"},
             {1303, K::Check, "Light", "Effects"},
             {1445, K::Edit, nullptr, "Effects"},
             {1444, K::Edit, nullptr, "Effects"},
             {1089, K::Check, "Interactive mode"},
             {1014, K::Check, "Enable textscroll"},
         }},

        // WORMHOLE.
        {176,
         {
             {1019, K::Edit, nullptr, "Size"},
             {1020, K::Edit, nullptr, "Size"},
             {1309, K::Combo, nullptr, "Wormhole"},
             {1310, K::Combo, nullptr, "Wormhole"},
             {1304, K::Edit, nullptr, "Wormhole"},
             {1306, K::Check, "Negative", "Wormhole"},
             {1103, K::Button, "Back. color...", "Colours"},
             {1424, K::Swatch, nullptr, "Colours", true},
             {1014, K::Check, "Enable textscroll"},
         }},

        // GALAXY.
        {180,
         {
             {1019, K::Edit, nullptr, "Size"},
             {1020, K::Edit, nullptr, "Size"},
             {1344, K::Combo, nullptr, "Galaxy"},
             {1345, K::Check, "Random", "Galaxy"},
             {1346, K::Combo, nullptr, "Galaxy"},
             {1347, K::Combo, nullptr, "Galaxy"},
             {1348, K::Edit, nullptr, "Persistence"},
             {1349, K::Edit, nullptr, "Persistence"},
             {1350, K::Edit, nullptr, "Persistence"},
             {1351, K::Edit, nullptr, "Persistence"},
             {1014, K::Check, "Enable textscroll"},
         }},

        // MOSAIC: image list editor.
        {181,
         {
             {1090, K::List, nullptr, "Images"},
             {1091, K::Button, "&Add...", "Images"},
             {1096, K::Button, "Move &up", "Images", true},
             {1097, K::Button, "Move do&wn", "Images", true},
             {1140, K::Button, "&Remove", "Images", true},
             {1092, K::Edit, nullptr, "Images"},
             {1094, K::Edit, nullptr, "Images"},
             {1019, K::Edit, nullptr, "Size"},
             {1020, K::Edit, nullptr, "Size"},
             {1010, K::Combo, nullptr, "Size"},
             {1360, K::Edit, nullptr, "Tiles"},
             {1361, K::Edit, nullptr, "Tiles"},
             {1362, K::Edit, nullptr, "Tiles"},
             {1095, K::Edit, nullptr, "Tiles"},
             {1103, K::Button, "Back. color...", "Background"},
             {1424, K::Swatch, nullptr, "Background", true},
             {1152, K::Check, "Back image", "Background"},
             {1105, K::Edit, nullptr, "Background"},
             {1106, K::Button, "Browse...", "Background", true},
         }},

        // VEXA3D LIGHT, scene page.
        {182,
         {
             {1019, K::Edit, nullptr, "Size"},
             {1020, K::Edit, nullptr, "Size"},
             {1363, K::Edit, nullptr, "Size"},
             {1364, K::Edit, nullptr, "Size"},
             {1416, K::Combo, nullptr, "Scene"},
             {1196, K::Check, "Interactive mode", "Scene"},
             {1417, K::Button, "Custom 3D objects ?", "Scene"},
             {1367, K::Edit, nullptr, "Textures"},
             {1368, K::Button, "...", "Textures", true},
             {1375, K::Check, "Texture 1", "Textures"},
             {1365, K::Edit, nullptr, "Textures"},
             {1366, K::Button, "...", "Textures", true},
             {1376, K::Check, "Texture 2", "Textures"},
             {1369, K::Edit, nullptr, "Textures"},
             {1370, K::Button, "...", "Textures", true},
             {1377, K::Check, "Phong map", "Textures"},
             {1371, K::Edit, nullptr, "Textures"},
             {1373, K::Button, "...", "Textures", true},
             {1378, K::Check, "Gauss map", "Textures"},
             {1372, K::Edit, nullptr, "Textures"},
             {1374, K::Button, "...", "Textures", true},
             {1380, K::Check, "Fog", "Fog"},
             {1381, K::Edit, nullptr, "Fog"},
             {1382, K::Edit, nullptr, "Fog"},
             {1384, K::Combo, nullptr, "Background"},
             {1385, K::Combo, nullptr, "Background"},
             {1387, K::Combo, nullptr, "Background"},
             {1103, K::Button, "Back. color...", "Background"},
             {1424, K::Swatch, nullptr, "Background", true},
             {1383, K::Check, "Blur motion", "Background"},
             {1014, K::Check, "Enable textscroll"},
         }},

        // VEXA3D LIGHT, script objects page. The set-up shows either the object types (1391, 1407) or
        // the labyrinth texts (1421, 1420) and rewrites the caption 1415.
        {183,
         {
             {1415, K::Label, "Vexa 3D script \"Objects\" parameters"},
             {1391, K::Combo, nullptr, "Main object"},
             {1421, K::Label, "Main object: labyrinth", "Main object"},
             {1392, K::Combo, nullptr, "Main object"},
             {1393, K::Combo, nullptr, "Main object"},
             {1407, K::Combo, nullptr, "Child object"},
             {1420, K::Label, "Child object: labyrinth", "Child object"},
             {1408, K::Combo, nullptr, "Child object"},
             {1409, K::Combo, nullptr, "Child object"},
             {1100, K::Edit, nullptr, "Rotation"},
             {1101, K::Edit, nullptr, "Rotation"},
             {1102, K::Edit, nullptr, "Rotation"},
             {1394, K::Edit, nullptr, "Sheet"},
             {1396, K::Edit, nullptr, "Sheet"},
             {1397, K::Edit, nullptr, "Sheet"},
             {1398, K::Edit, nullptr, "Sheet"},
             {1399, K::Edit, nullptr, "Sheet"},
             {1400, K::Edit, nullptr, "Sheet"},
             {1401, K::Edit, nullptr, "Sheet"},
             {1402, K::Edit, nullptr, "Sheet"},
             {1403, K::Combo, nullptr, "Sheet"},
             {1413, K::Combo, nullptr, "Effects"},
             {1412, K::Combo, nullptr, "Effects"},
             {1411, K::Check, "Mirror", "Effects"},
             {1414, K::Check, "Metallic lighting", "Effects"},
         }},

        // WHEELMENU.
        {194,
         {
             {1019, K::Edit, nullptr, "Size"},
             {1020, K::Edit, nullptr, "Size"},
             {1485, K::Combo, nullptr, "Wheel"},
             {1486, K::Combo, nullptr, "Wheel"},
             {1491, K::Check, "Extrude letters", "Wheel"},
             {1494, K::Edit, nullptr, "Wheel"},
             {1492, K::Edit, nullptr, "Wheel"},
             {1493, K::Edit, nullptr, "Wheel"},
             {1495, K::Edit, nullptr, "Wheel"},
             {1488, K::Combo, nullptr, "Background"},
             {1103, K::Button, "Back. color...", "Background"},
             {1424, K::Swatch, nullptr, "Background", true},
             {1105, K::Edit, nullptr, "Background"},
             {1106, K::Button, "...", "Background", true},
             {1489, K::Radio, "Gouraud", "Shading"},
             {1490, K::Radio, "Texture", "Shading"},
             {1496, K::Edit, nullptr, "Shading"},
             {1497, K::Button, "...", "Shading", true},
             {1498, K::Edit, nullptr, "Shading"},
             {1499, K::Edit, nullptr, "Shading"},
             {1500, K::Button, "Wheel color...", "Shading"},
             {1449, K::Swatch, nullptr, "Shading", true},
             {1501, K::Button, "Text color...", "Shading"},
             {1443, K::Swatch, nullptr, "Shading", true},
             {1502, K::Button, "Select color...", "Shading"},
             {1442, K::Swatch, nullptr, "Shading", true},
             {4061, K::Check, "Float mode"},
         }},

        // MORPHMENU, first page.
        {195,
         {
             {1019, K::Edit, nullptr, "Size"},
             {1020, K::Edit, nullptr, "Size"},
             {1503, K::Combo, nullptr, "Menu"},
             {1504, K::Combo, nullptr, "Menu"},
             {1507, K::Edit, nullptr, "Menu"},
             {1495, K::Edit, nullptr, "Menu"},
             {1340, K::Check, "Standard", "Font"},
             {1516, K::Combo, nullptr, "Font"},
             {1517, K::Combo, nullptr, "Font"},
             {1501, K::Button, "Text color...", "Font"},
             {1443, K::Swatch, nullptr, "Font", true},
             {1502, K::Button, "Select color...", "Font"},
             {1442, K::Swatch, nullptr, "Font", true},
             {1505, K::Combo, nullptr, "Background"},
             {1103, K::Button, "Back. color...", "Background"},
             {1424, K::Swatch, nullptr, "Background", true},
             {1105, K::Edit, nullptr, "Background"},
             {1106, K::Button, "Browse...", "Background", true},
             // No tooltips: the group caption names the pair.
             {4069, K::Combo, "Character set", "Character set"},
             {4068, K::Edit, "Charset name", "Character set", true},
             {4061, K::Check, "Float mode"},
         }},

        // WOBBLER.
        {196,
         {
             {1107, K::Edit, nullptr, "Image"},
             {1117, K::Button, "Browse...", "Image", true},
             {1019, K::Edit, nullptr, "Image"},
             {1020, K::Edit, nullptr, "Image"},
             {1010, K::Combo, nullptr, "Image"},
             {1456, K::Edit, nullptr, "Distance"},
             {1457, K::Edit, nullptr, "Distance"},
             {1459, K::Edit, nullptr, "Distance"},
             {1458, K::Edit, nullptr, "Distance"},
             {1468, K::Edit, nullptr, "Waves"},
             {1461, K::Edit, nullptr, "Waves"},
             // The speeds, moves and variation fields have no tooltip: their static texts name them.
             {0, K::Label, "1", "Speeds"},
             {1462, K::Edit, nullptr, "Speeds", true},
             {0, K::Label, "2", "Speeds", true},
             {1463, K::Edit, nullptr, "Speeds", true},
             {0, K::Label, "3", "Speeds"},
             {1464, K::Edit, nullptr, "Speeds", true},
             {0, K::Label, "4", "Speeds", true},
             {1465, K::Edit, nullptr, "Speeds", true},
             {0, K::Label, "Move", "Speeds"},
             {1466, K::Edit, nullptr, "Speeds", true},
             {1467, K::Edit, nullptr, "Speeds", true},
             {0, K::Label, "Start", "Variation"},
             {1476, K::Edit, nullptr, "Variation", true},
             {0, K::Label, "Move", "Variation", true},
             {1475, K::Edit, nullptr, "Variation", true},
             {1482, K::Combo, "Precision", "Precision"},
             {1483, K::Check, "Presets values", "Presets"},
             {1469, K::Button, "wobbler", "Presets"},
             {1470, K::Button, "waves", "Presets", true},
             {1471, K::Button, "stars", "Presets", true},
             {1472, K::Button, "sphere", "Presets"},
             {1473, K::Button, "breath", "Presets", true},
             {1474, K::Button, "metal", "Presets", true},
             {1014, K::Check, "Enable textscroll"},
         }},

        // Menu items editor of WHEELMENU, MORPHMENU and TREEMENU. The set-up hides the target controls
        // (1231, 1250, 1249) and "Back" for the tree menu, and the icon controls (1536, 1533, 1534)
        // for the other two; 1537 and 1538 get their text only for the tree menu.
        {197,
         {
             {1446, K::Tree, "Menu items", "Menu tree"},
             {1451, K::Button, "Add item to node", "Menu tree"},
             {1453, K::Button, "Add \"sub-item\"", "Menu tree", true},
             {1452, K::Button, "Remove", "Menu tree", true},
             {1532, K::Check, "Back", "Item"},
             {0, K::Label, "Text", "Item"},
             {1448, K::Edit, nullptr, "Item", true},
             {0, K::Label, "URL", "Item"},
             {1450, K::Edit, nullptr, "Item", true},
             {1536, K::Label, "Icon image", "Item"},
             {1533, K::Edit, nullptr, "Item", true},
             {1534, K::Button, "...", "Item", true},
             {1231, K::Check, "URL target frame", "Target"},
             {1250, K::Combo, nullptr, "Target"},
             {1249, K::Edit, nullptr, "Target"},
             {1537, K::Label, "", "Target"},
             {1538, K::Label, "", "Target"},
             {1484, K::Check, "Auto apply"},
             {1447, K::Button, "Apply change", nullptr, true},
         }},

        // TEXTSCROLLER.
        {198,
         {
             {1019, K::Edit, nullptr, "Size"},
             {1020, K::Edit, nullptr, "Size"},
             {1103, K::Button, "Back. color...", "Background"},
             {1424, K::Swatch, nullptr, "Background", true},
             {1152, K::Check, "Back image", "Background"},
             {1105, K::Edit, nullptr, "Background"},
             {1106, K::Button, "Browse...", "Background", true},
             {4069, K::Combo, "Character set", "Character set"},
             {4068, K::Edit, "Charset name", "Character set", true},
         }},

        // MORPHMENU, galaxy plug-in.
        {199,
         {
             {1515, K::Combo, nullptr, "Galaxy"},
             {1508, K::Button, "Seed color...", "Galaxy"},
             {1509, K::Swatch, nullptr, "Galaxy", true},
             {1512, K::Check, "Smooth filter", "Galaxy"},
             {1510, K::Combo, nullptr, "Background"},
             {1511, K::Check, "Back color visible", "Background"},
             {1513, K::Button, "Fire color...", "Background"},
             {1514, K::Swatch, nullptr, "Background", true},
         }},

        // MORPHMENU, blobs plug-in.
        {200,
         {
             {1009, K::Combo, nullptr, "Blobs"},
             {1024, K::Edit, nullptr, "Blobs"},
             {1030, K::Edit, nullptr, "Blobs"},
             {1035, K::Edit, nullptr, "Blobs"},
             {1012, K::Combo, nullptr, "Blobs"},
             {1011, K::Combo, nullptr, "Blobs"},
             {1006, K::Check, "Sine mode", "Effects"},
             {1007, K::Check, "Star shape", "Effects"},
             {1008, K::Check, "Negative color", "Effects"},
         }},

        // TREEMENU.
        {201,
         {
             {1019, K::Edit, nullptr, "Size"},
             {1020, K::Edit, nullptr, "Size"},
             {1518, K::Edit, nullptr, "Animation"},
             {1519, K::Edit, nullptr, "Animation"},
             {1520, K::Edit, nullptr, "Animation"},
             {1521, K::Edit, nullptr, "Animation"},
             {1522, K::Edit, nullptr, "Animation"},
             {1523, K::Edit, nullptr, "Animation"},
             {1340, K::Check, "Standard", "Font"},
             {1516, K::Combo, nullptr, "Font"},
             {1054, K::Combo, nullptr, "Font"},
             {1338, K::Check, "Italic", "Font"},
             {1053, K::Check, "Bold", "Font", true},
             {1527, K::Check, "Mouse highlight", "Font"},
             {1501, K::Button, "Text...", "Colours"},
             {1443, K::Swatch, nullptr, "Colours", true},
             {1103, K::Button, "Background...", "Colours"},
             {1424, K::Swatch, nullptr, "Colours", true},
             {1502, K::Button, "Select...", "Colours"},
             {1442, K::Swatch, nullptr, "Colours", true},
             {1524, K::Button, "Select back. ...", "Colours"},
             {1418, K::Swatch, nullptr, "Colours", true},
             {1525, K::Button, "Scrollbar...", "Colours"},
             {1419, K::Swatch, nullptr, "Colours", true},
             {1526, K::Button, "Filter...", "Colours"},
             {1441, K::Swatch, nullptr, "Colours", true},
             {1528, K::Combo, nullptr, "Style"},
             {1529, K::Combo, nullptr, "Style"},
             {1105, K::Edit, nullptr, "Style"},
             {1106, K::Button, "Browse...", "Style", true},
             {4069, K::Combo, "Character set", "Character set"},
             {4068, K::Edit, "Charset name", "Character set", true},
             {4061, K::Check, "Float mode"},
         }},

        // VEXACAM.
        {202,
         {
             {1080, K::Edit, nullptr, "Image"},
             {1082, K::Button, "Browse...", "Image", true},
             {1019, K::Edit, nullptr, "Image"},
             {1020, K::Edit, nullptr, "Image"},
             {1010, K::Combo, nullptr, "Image"},
             {1539, K::Edit, nullptr, "Reload"},
             {1540, K::Edit, nullptr, "Reload"},
             {1541, K::Check, "Progressive fade", "Reload"},
         }},

        // VEXAPAINT.
        {206,
         {
             {1019, K::Edit, nullptr, "Size"},
             {1020, K::Edit, nullptr, "Size"},
             {1103, K::Button, "Back. color...", "Colours"},
             {1424, K::Swatch, nullptr, "Colours", true},
             {4010, K::Button, "Pen color...", "Colours"},
             {4012, K::Swatch, nullptr, "Colours", true},
             {1105, K::Edit, nullptr, "Colours"},
             {1106, K::Button, "Browse...", "Colours", true},
             {4008, K::Check, "Save button", "Saving"},
             {4007, K::Edit, nullptr, "Saving"},
             {4009, K::Edit, nullptr, "Saving"},
             {4013, K::Edit, nullptr, "Messages"},
             {1143, K::Edit, nullptr, "Messages"},
         }},

        // SOLIDSCROLLER, first page.
        {207,
         {
             {1019, K::Edit, nullptr, "Size"},
             {1020, K::Edit, nullptr, "Size"},
             {1103, K::Button, "Back. color...", "Size"},
             {1424, K::Swatch, nullptr, "Size", true},
             {4026, K::Combo, nullptr, "Text"},
             {1334, K::Edit, nullptr, "Text"},
             {1046, K::Edit, nullptr, "Text"},
             {1021, K::Edit, nullptr, "Text"},
             {4016, K::Combo, nullptr, "Wave"},
             {4018, K::Edit, nullptr, "Wave"},
             {4017, K::Combo, nullptr, "Wave"},
             {4020, K::Check, "Reverse", "Wave"},
             {1042, K::Edit, nullptr, "Jump"},
             {1027, K::Edit, nullptr, "Jump"},
             {4021, K::Combo, nullptr, "Mirror"},
             {4022, K::Edit, nullptr, "Mirror"},
         }},

        // SOLIDSCROLLER, text and font file. The font properties are read-only and have no tooltip:
        // their static texts name them.
        {208,
         {
             {1013, K::TextArea, nullptr, "Scroll text"},
             {1015, K::Button, "Text from file...", "Scroll text"},
             {4023, K::Edit, nullptr, "Vexa Font Properties"},
             {4024, K::Button, "Browse font...", "Vexa Font Properties", true},
             {0, K::Label, "Width", "Vexa Font Properties"},
             {4027, K::Edit, nullptr, "Vexa Font Properties", true},
             {0, K::Label, "Height", "Vexa Font Properties"},
             {4028, K::Edit, nullptr, "Vexa Font Properties", true},
             {0, K::Label, "V.Spac.", "Vexa Font Properties"},
             {4029, K::Edit, nullptr, "Vexa Font Properties", true},
             {0, K::Label, "Char ", "Vexa Font Properties"},
             {4030, K::Edit, nullptr, "Vexa Font Properties", true},
             {0, K::Label, "Font comment", "Vexa Font Properties"},
             {4031, K::TextArea, nullptr, "Vexa Font Properties", true},
             {4037, K::Button, "Download other fonts", "Vexa Font Properties"},
         }},

        // SNOW.
        {209,
         {
             {1019, K::Edit, nullptr, "Size"},
             {1020, K::Edit, nullptr, "Size"},
             {1103, K::Button, "Back. color...", "Background"},
             {1424, K::Swatch, nullptr, "Background", true},
             {1105, K::Edit, nullptr, "Background"},
             {1106, K::Button, "Browse...", "Background", true},
             {4038, K::Edit, nullptr, "Flakes"},
             {4039, K::Edit, nullptr, "Flakes"},
             {4040, K::Edit, nullptr, "Flakes"},
             {4041, K::Edit, nullptr, "Flakes"},
             {4044, K::Edit, nullptr, "Snow"},
             {4042, K::Combo, nullptr, "Snow"},
             {4043, K::Combo, nullptr, "Snow"},
             {4047, K::Check, "Snow over text", "Snow"},
             {1014, K::Check, "Enable textscroll"},
         }},

        // FIREWORKS.
        {210,
         {
             {1019, K::Edit, nullptr, "Size"},
             {1020, K::Edit, nullptr, "Size"},
             {1103, K::Button, "Back. color...", "Background"},
             {1424, K::Swatch, nullptr, "Background", true},
             {1105, K::Edit, nullptr, "Background"},
             {1106, K::Button, "Browse...", "Background", true},
             {4051, K::Edit, nullptr, "Fireworks"},
             {4052, K::Edit, nullptr, "Fireworks"},
             {4053, K::Edit, nullptr, "Fireworks"},
             {4054, K::Edit, nullptr, "Fireworks"},
             {4055, K::Edit, nullptr, "Fireworks"},
             {4048, K::Edit, nullptr, "Sound"},
             {4049, K::Button, "...", "Sound", true},
             {4057, K::Check, "Show over text"},
             {1014, K::Check, "Enable textscroll"},
         }},

        // Floating window, common to the menu applets.
        {211,
         {
             {4062, K::Check, "Always on top", "Floating window"},
             {4063, K::Edit, nullptr, "Floating window"},
             {4064, K::Edit, nullptr, "Floating window"},
             {4065, K::Edit, nullptr, "Floating window"},
             {4066, K::Edit, nullptr, "Floating window"},
             {4067, K::Edit, nullptr, "Floating window"},
         }},
    };
}

} // namespace vexa

// Layout decisions worth knowing when changing the templates above:
// 171: the texture size fields 1028/1031 have no tooltip; static texts "Width"/"Height" in the
//      "Texture size" group name them.
// 172: check captions 1258, 1259, 1260, 1196 take their tooltips' wording ("Inverse lighting").
// 173, 174, 175, 196: 1117 reads "Browse..." as on every other page.
// 175: 1301 "Cross" and 1303 "Light" name what they switch on; 1089 takes its tooltip's wording.
// 176, 180: 1306 "Negative" from its tooltip; 1345 "Random".
// 181, 198: 1152 reads "Back image" as on pages 145, 146, 149. The link field 1092 is labelled by
//      its tooltip.
// 182: the texture field 1367 (Texture 0) is always used, so it has no check box, only its "..." 1368.
// 183: the labyrinth texts 1421 and 1420 are static texts shown in place of 1391 and 1407. The
//      set-up rewrites 1415's caption; the text here is its "Objects" form. 1414 "Metallic lighting"
//      from its tooltip.
// 194: 1106 and 1497 read "..."; 1491 "Extrude letters" from its tooltip.
// 195, 198, 201: 4068 and 4069 have no tooltip; the "Character set" group caption names them.
// 196: 1482 (precision) has no tooltip; its group caption names it.
// 197: 1536 is the static text "Icon image" of the icon field (hidden with 1533 and 1534).
//      1537/1538 start empty: only the tree menu set-up fills them (strings 1634, 1635). "Text" and
//      "URL" are static texts because 1448 and 1450 have no tooltip. The tree 1446 is labelled by
//      its group caption "Menu tree".
// 199: captions 1511 and 1512 from their tooltips.
// 201: 1501/1502 use the short captions "Text..."/"Select..." like the other colour buttons there.
// 206: 4008 "Save button" from its tooltip; 1105 shows tooltip string 4035 on this page.
// 208: 4031 (font comment) is a text area because the comment holds a line break.
// 209: 4047 "Snow over text" from its tooltip.
