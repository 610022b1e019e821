// The bundled map art: every sprite sheet, icon page, unit picture and small interface
// bitmap the editor loads, drawn by the generator and written as Windows bitmap files.
#pragma once

#include <QImage>

#include <string>
#include <vector>

namespace kv::sample {

// Cells of the base sheet (terrain of categories 0..10): picture n at column n % 10, row
// n / 10; the framed copy of every cell lies four rows further down.
namespace base_picture {
inline constexpr int kRoad = 31;        // the road overlay's own picture
inline constexpr int kTempBridge = 32;  // the temporary bridge's own picture
inline constexpr int kBeach = 33;
inline constexpr int kVolcano = 34;
inline constexpr int kCount = 35;  // 0..30 are the pictures of terrain 0..30
}  // namespace base_picture

// Cells of the building sheet (terrain of categories 11 and above).
namespace building_picture {
inline constexpr int kCapital = 0;
inline constexpr int kLargeCity = 1;
inline constexpr int kMediumCity = 2;
inline constexpr int kSmallCity = 3;
inline constexpr int kAirport = 4;
inline constexpr int kAirfield = 5;
inline constexpr int kFactory = 6;
inline constexpr int kBase = 7;
inline constexpr int kOilField = 8;
inline constexpr int kNuclearPlant = 9;
inline constexpr int kPort = 10;       // 10..13: the water to the west, south, east, north
inline constexpr int kNavalPort = 14;  // 14..17 likewise
inline constexpr int kHeliport = 18;
inline constexpr int kMissileBase = 19;
inline constexpr int kWeaponsFactory = 20;
inline constexpr int kFortress = 21;
inline constexpr int kDam = 22;
inline constexpr int kTunnel = 23;
inline constexpr int kBridgeWater = 24;  // the water under the bridge pieces
inline constexpr int kUrbanArea = 25;
inline constexpr int kCount = 26;
}  // namespace building_picture

// Cells of the parts sheet: the joined pieces 2000 + g + j of hills (g = 0), mountains (3)
// and snow mountains (6) at cell g + j (j = 0 joined to the south-east, 1 to the south-west,
// 2 to both), and the seven members of the two mega pieces at cell n - 991.
namespace parts_picture {
inline constexpr int kJoinedHills = 2000;
inline constexpr int kJoinedMountains = 2003;
inline constexpr int kJoinedSnowMountains = 2006;
inline constexpr int kMegaMountains = 1000;      // 1000..1006, centre 1003
inline constexpr int kMegaSnowMountains = 1007;  // 1007..1013, centre 1010
}  // namespace parts_picture

// Bridge and temporary bridge pieces: each runs from one side's midpoint to another's.
// Pieces 0..2 are straight (west-east, south-west-north-east, south-east-north-west), pieces
// 3..8 turn by 60 degrees: sides (0, 2), (1, 3), (2, 4), (3, 5), (4, 0), (5, 1).
inline constexpr int kBridgePieces = 9;
void bridgePieceSides(int piece, int& a, int& b);

// One generated picture file.
struct ArtFile {
    std::string path;  // relative to the program folder, e.g. "bmp/land48_base.bmp"
    QImage image;
};

// The base, building and parts sheets.
QImage baseSheetImage();
QImage buildingSheetImage();
QImage partsSheetImage();
// Bridges, line pieces.
QImage bridgeSheetImage();
QImage roadSheetImage();
// Marks, effects, digits, layer dots, regiment marks, territories and borderlines.
QImage markSheetImage();
QImage effectSheetImage();
QImage digitSheetImage();
QImage layerMarkImage();
QImage regimentMarkImage();
QImage territoryImage();
QImage borderImage();
// Weapon-type icons (six equal blocks of 7 x 10 cells), the unit icon pages of 32 and 48
// pixels, and the unit picture of one weapon.
QImage weaponIconImage();
QImage unitIconPage(int size);
QImage unitPicture(int weaponId);
inline constexpr int kUnitPictureWidth = 80;
inline constexpr int kUnitPictureHeight = 40;
// The overview colour strips of `scale` pixels per square: colour row 0 shows each terrain's
// own colour (taken from its picture in the sheets), row 1 how easily trucks cross it.
QImage overviewStrip(int scale, const QImage& baseSheet, const QImage& buildingSheet);
// The owner colours: the six faction colours and square 6 for a facility without owner.
QImage ownerStrip(int scale);
// The small interface bitmaps: category.bmp, panel_btn.bmp, info_btn.bmp.
std::vector<ArtFile> interfaceBitmaps();
// The previews' newspaper: news.bmp, news2.bmp and the button faces news_btn.bmp.
std::vector<ArtFile> newspaperBitmaps();
// The button face sheets "btn16x16.bmp" … "btn230x20.bmp".
std::vector<ArtFile> buttonSheets();

// The picture dialogs' art: rule.bmp, victory.bmp and the button sheet rule_btn.bmp.
std::vector<ArtFile> pictureDialogBitmaps();

// The analysis windows' backgrounds: panel_fig4.bmp (combat comparison) and buildcnt.bmp.
std::vector<ArtFile> analysisBitmaps();

// Every file writeArt writes, in a fixed order.
std::vector<ArtFile> artFiles();

// Writes every picture under root (bmp/, munit/, unit/). Returns an error text, empty on
// success. The bytes are the same on every run.
std::string writeArt(const std::string& root);

}  // namespace kv::sample
