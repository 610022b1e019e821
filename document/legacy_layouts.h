// The map files of the four earlier editions: magics, sections and record layouts, shared by
// their readers (import_*.cpp) and the writer of example files (legacy_writer.cpp).
//
// All four use the container of the current format: a 16-byte magic, a u32 header size and
// 12-byte section descriptors (u32 offset from the start of the file, u32 record size, u32
// count), little-endian. Every element is read with the file's own record size into a zeroed
// buffer of the size below and converted from there; a field's bytes past the record size, or
// past the end of the file, read as zero.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kv::legacy {

// Map kinds by the first bytes of the file.
inline constexpr int kUnknown = 0;
inline constexpr int kRealTime = 1;  // real-time edition, "WINTRAXMAP000001"
inline constexpr int kEarlier = 2;   // "QUISCENARIO00001" .. "QUISCENARIO00006"
inline constexpr int kDeluxe = 3;    // "BREXOSCENARI0001" .. "BREXOSCENARI0004"
inline constexpr int kModern = 4;    // "FENWICSCENARI001", "FENWICSCENARI002"
inline constexpr int kCurrent = 5;   // "TALMASCENARI000n", "KVORNSCENARI0007"

// The full magic of a kind and version; empty when the kind has no such version.
std::string magicOf(int kind, int version);
// The highest version of a kind (0 for kinds without versions of their own).
int lastVersion(int kind);

// The old files hold up to eight factions; owners and territories name them as index + 1.
inline constexpr int kOldFactions = 8;

// The part of a header a reader keeps: the modern edition's reader keeps 500 bytes, the others
// as many as the current format (536).
inline constexpr size_t kHeaderKept = 536;
inline constexpr size_t kModernHeaderKept = 500;

// --- Kind 1 (real-time edition) -----------------------------------------------------------
//
// | Section | Content     | Record | Count           |
// |---------|-------------|--------|-----------------|
// | 0       | map header  | 304    | 1               |
// | 1       | factions    | 48     | up to 8         |
// | 2       | rule record | 52     | 1               |
// | 3       | cells       | 8      | width × height  |
// | 4       | labels      | 24     | number of labels|
//
// There are no troops, production lists or scenario texts.
namespace rt {
inline constexpr int kHeaderSection = 0, kFactionSection = 1, kRuleSection = 2, kCellSection = 3,
                     kLabelSection = 4, kSectionCount = 5;

// Map header (304 bytes):
// | Offset | Width    | Field            | Current header |
// |--------|----------|------------------|----------------|
// | 0      | 40 bytes | map name         | 540            |
// | 40     | u16      | width            | 582            |
// | 42     | u16      | height           | 584            |
// | 44     | u16      | turn limit       | i32 536, cut to 99 |
// | 46     | u8       | difficulty       | 534            |
// | 47     | u8       | building income  | 532            |
// | 48     | 256 bytes| message          | 16             |
inline constexpr size_t kHeaderSize = 304;
inline constexpr size_t kNameAt = 0, kNameSize = 40, kWidthAt = 40, kHeightAt = 42,
                        kTurnLimitAt = 44, kDifficultyAt = 46, kIncomeAt = 47, kMessageAt = 48,
                        kMessageSize = 256;

// Faction (48 bytes):
// | Offset | Width    | Field                          | Current faction record |
// |--------|----------|--------------------------------|------------------------|
// | 0      | 32 bytes | name                           | 0                      |
// | 32     | u8       | participation                  | 43                     |
// | 33     | u8       | computer behaviour             | 42                     |
// | 34     | u8       | alliance bits (old factions)   | 44, through the slot map |
// | 35     | u8       | production type                | 45                     |
// | 36     | i32      | funds                          | 50                     |
// | 40     | u16      | production count limit         | 60                     |
// | 42     | 6 bytes  | not read                       |                        |
inline constexpr size_t kFactionSize = 48;
inline constexpr size_t kFactionNameAt = 0, kFactionNameSize = 32, kParticipationAt = 32,
                        kBehaviourAt = 33, kAlliancesAt = 34, kProductionTypeAt = 35, kFundsAt = 36,
                        kProductionLimitAt = 40;

// Cell (8 bytes), terrain in the real-time edition's own numbering:
// | Offset | Width | Field                               | Current cell |
// |--------|-------|-------------------------------------|--------------|
// | 0      | u8    | terrain id 0..44                    | 0, by table  |
// | 1      | u8    | owner: 0, or old faction + 1        | 1, mapped    |
// | 2      | u16   | picture number                      | 2, by the picture rules |
// | 4      | u8    | road links                          | 4            |
// | 5      | u8    | river links and variant             | 5            |
// | 6      | u8    | territory: 0, 1..8, 9 and above     | 11, mapped   |
// | 7      | u8    | destroyed flag                      | 19           |
inline constexpr size_t kCellSize = 8;
inline constexpr size_t kCellTerrainAt = 0, kCellOwnerAt = 1, kCellPictureAt = 2, kCellRoadAt = 4,
                        kCellRiverAt = 5, kCellTerritoryAt = 6, kCellDestroyedAt = 7;

// Label (24 bytes):
// | Offset | Width    | Field                    | Current label |
// |--------|----------|--------------------------|---------------|
// | 0      | 20 bytes | text                     | 0             |
// | 20     | u8       | col                      | 34            |
// | 21     | u8       | row                      | 35            |
// | 22     | u8       | kind                     | 36            |
// | 23     | u8       | value                    | 37            |
inline constexpr size_t kLabelSize = 24;
inline constexpr size_t kLabelTextSize = 20, kLabelColAt = 20, kLabelRowAt = 21, kLabelKindAt = 22,
                        kLabelValueAt = 23;

// Terrain ids 0..44 in the current numbering (ids above 44 have none: they become plain land).
// Pictures then follow the current terrain: a port (39, 40) keeps its piece, old pictures 6..9
// and 10..13; a bridge (49) takes its piece + 1 from the old picture's low byte − 16 (1..9);
// everything else gets its terrain's picture.
inline constexpr uint8_t kTerrain[45] = {
    0,  1,  3,  4,  2,  8,  6,  9,  11, 12, 13, 14, 16, 17, 19, 20, 18, 21, 22, 23, 24, 26, 27,
    28, 30, 31, 32, 33, 34, 51, 35, 36, 39, 40, 37, 38, 41, 49, 52, 50, 10, 25, 15, 29, 42};
}  // namespace rt

// --- Kinds 2, 3 and 4 -----------------------------------------------------------------------
//
// | Section | Content                                  | Kind 2 | Kind 3 | Kind 4 |
// |---------|------------------------------------------|--------|--------|--------|
// | 0       | scenario texts and three display bytes   | 8131   | 16063  | 16063  |
// | 1       | map header                               | 584    | 584    | 596    |
// | 2       | factions, up to 8                        | 320    | 332    | 332    |
// | 3       | rule record                              | 52     | 52     | 52     |
// | 4       | cells, width × height                    | 22     | 22     | 22     |
// | 5       | labels                                   | 36     | 36     | 60     |
// | 6..13   | troops of old factions 0..7, by slot     | 152    | 160    | 160    |
// | 14      | production lists of old factions 0..7    | 2532   | 2534   | 2534   |
// | 15, 16  | briefing and ending picture (kinds 2, 3) | bytes  | bytes  |        |
// | 15..17  | not read (kind 4)                        |        |        |        |
// | 18, 19  | briefing and ending picture (kind 4)     |        |        | bytes  |
//
// The versions of a kind share one layout; the only version-dependent step is the terrain
// numbering of kind-2 files of version 1.
namespace sc {
// Kind-2 version-1 terrain ids 0..49 in the numbering of the later versions.
inline constexpr uint8_t kEarlierV1Terrain[50] = {
    0,  1,  3,  4,  2,  8,  6,  9,  11, 12, 13, 14, 16, 17, 19, 20, 18,
    21, 22, 23, 24, 26, 27, 28, 30, 31, 32, 33, 34, 51, 35, 36, 39, 40,
    37, 38, 41, 49, 52, 50, 10, 25, 15, 46, 45, 42, 47, 48, 44, 43};

inline constexpr int kTextSection = 0, kHeaderSection = 1, kFactionSection = 2, kRuleSection = 3,
                     kCellSection = 4, kLabelSection = 5, kFirstTroopSection = 6, kListSection = 14;
// The first of the two picture sections.
inline constexpr int pictureSection(int kind) {
    return kind == kModern ? 18 : 15;
}
inline constexpr int sectionCount(int kind) {
    return pictureSection(kind) + 2;
}

struct RecordSizes {
    size_t texts, header, faction, rule, cell, label, troop, list;
};
inline constexpr RecordSizes kSizes[3] = {
    {8128 + 3, 584, 320, 52, 22, 36, 152, 2532},   // kind 2
    {16060 + 3, 584, 332, 52, 22, 36, 160, 2534},  // kind 3
    {16060 + 3, 596, 332, 52, 22, 60, 160, 2534},  // kind 4
};
inline constexpr const RecordSizes& sizesOf(int kind) {
    return kSizes[kind == kEarlier ? 0 : kind == kDeluxe ? 1 : 2];
}

// Scenario texts of kind 2 (8128 bytes, then the ending-shown, briefing-mode and order-mode
// bytes): the nine texts of the current block in the same order, the three long ones shorter.
// | Field               | Offset | Width |
// |---------------------|--------|-------|
// | briefing headline   | 0      | 24    |
// | briefing subheading | 24     | 42    |
// | briefing body       | 66     | 2158  |
// | operation name      | 2224   | 62    |
// | order body          | 2286   | 2158  |
// | victory conditions  | 4444   | 562   |
// | participating text  | 5006   | 902   |
// | ending headline     | 5908   | 62    |
// | ending body         | 5970   | 2158  |
// Kinds 3 and 4 keep the current 16060-byte block with the current offsets.
struct TextPlace {
    size_t offset, size;
};
inline constexpr TextPlace kEarlierTexts[9] = {{0, 24},     {24, 42},     {66, 2158},
                                               {2224, 62},  {2286, 2158}, {4444, 562},
                                               {5006, 902}, {5908, 62},   {5970, 2158}};
inline constexpr size_t kEarlierTextBlock = 8128;

// Map header (584 bytes; kind 4: 596, its last 12 bytes not read):
// | Offset | Width     | Field                    | Current header                 |
// |--------|-----------|--------------------------|--------------------------------|
// | 16     | 512 bytes | message                  | 16                             |
// | 528    | u16       | carried through          | 528 (*)                        |
// | 530    | u8        | carried through          | 530                            |
// | 531    | u8        | carried through          | 531                            |
// | 532    | u8        | building income          | 532                            |
// | 534    | u8        | carried through          | 533                            |
// | 535    | u8        | difficulty               | 534                            |
// | 536    | u16       | turn limit               | i32 536, cut to 99             |
// | 538    | 40 bytes  | map name                 | 540                            |
// | 578    | u16       | carried through          | 580 (*)                        |
// | 580    | u16       | width                    | 582                            |
// | 582    | u16       | height                   | 584                            |
// (*) Only while the text before it leaves room for its NUL: a text filling its whole old
// field ends in the current field's next bytes, which then stay zero.
inline constexpr size_t kMessageAt = 16, kMessageSize = 512, kWord528At = 528, kByte530At = 530,
                        kByte531At = 531, kIncomeAt = 532, kByte534At = 534, kDifficultyAt = 535,
                        kTurnLimitAt = 536, kNameAt = 538, kNameSize = 40, kWord578At = 578,
                        kWidthAt = 580, kHeightAt = 582;

// Faction, kinds 3 and 4 (332 bytes):
// | Offset | Width     | Field                        | Current faction record |
// |--------|-----------|------------------------------|------------------------|
// | 0      | 40 bytes  | name                         | 0                      |
// | 40     | u8        | carried through              | 40 (*)                 |
// | 42     | u8        | computer behaviour           | 42                     |
// | 43     | u8        | participation                | 43                     |
// | 44     | u8        | alliance bits (old factions) | 44, through the slot map |
// | 45     | u8        | production type              | 45                     |
// | 46     | u8        | anthem                       | 46                     |
// | 48     | u8        | carried through              | 48                     |
// | 50     | i32       | funds                        | 50                     |
// | 54     | 5 bytes   | victory conditions           | 54                     |
// | 60     | u16       | production count limit       | 60                     |
// | 62     | u8        | per-faction bits             | 62, through the slot map |
// | 68     | 260 bytes | anthem name                  | 68                     |
// | 328    | u8        | production preset (kind 3)   | 328                    |
// (*) Only while the name leaves room for its NUL.
// Kind 2 (320 bytes): 0..48 and the funds as above, victory bytes 54..56 → 54, byte 57 → 58,
// u16 58 → production count limit (60), anthem name at 60 → 68; no per-faction bits.
inline constexpr size_t kFactionNameAt = 0, kFactionNameSize = 40, kByte40At = 40,
                        kBehaviourAt = 42, kParticipationAt = 43, kAlliancesAt = 44,
                        kProductionTypeAt = 45, kAnthemAt = 46, kByte48At = 48, kFundsAt = 50,
                        kVictoryAt = 54, kProductionLimitAt = 60, kFactionBitsAt = 62,
                        kAnthemNameAt = 68, kAnthemNameSize = 260, kPresetAt = 328;
inline constexpr size_t kEarlierVictoryBytes = 3, kEarlierByte57At = 57,
                        kEarlierProductionLimitAt = 58, kEarlierAnthemNameAt = 60;

// Cells (22 bytes) have the current layout; owners and territories name old factions (index
// + 1; territories 9 and above are neutral). Bytes 18 and 21 are not read. Kind 2 draws rivers
// as terrain 14, 15 and 26 with their links in byte 5: they become river links of variant 0,
// 1 and 2 on plain land (14, 15) or snow (26); its terrain above 52 becomes plain land.

// Label, kinds 2 and 3 (36 bytes):
// | Offset | Width    | Field | Current label |
// |--------|----------|-------|---------------|
// | 0      | 32 bytes | text  | 0, cut to 33 bytes |
// | 32     | u8       | col   | 34            |
// | 33     | u8       | row   | 35            |
// | 34     | u8       | kind  | 36            |
// | 35     | u8       | value | 37            |
// Label, kind 4 (60 bytes):
// | 0      | 48 bytes | text  | 0, cut to 33 bytes at a character boundary |
// | 48     | u16      | col   | 34 (a label off the map is dropped) |
// | 50     | u16      | row   | 35            |
// | 52     | u8       | kind  | 36            |
// | 53     | u8       | value | 37            |
// | 54     | 6 bytes  | not read |            |
struct LabelLayout {
    size_t textSize, colAt, rowAt, kindAt, valueAt;
    bool wideCoordinates;
};
inline constexpr LabelLayout kLabel36 = {32, 32, 33, 34, 35, false};
inline constexpr LabelLayout kLabel60 = {48, 48, 50, 52, 53, true};

// Troop (kind 2: 152 bytes, kinds 3 and 4: 160; the same fields, the rest not read):
// | Offset | Width    | Field                                 | Current troop record |
// |--------|----------|---------------------------------------|----------------------|
// | 0      | i32      | appearance turn (0: empty slot)       | 0                    |
// | 4      | 32 bytes | name                                  | 4                    |
// | 36     | u16      | weapon id                             | 38                   |
// | 38     | u8       | col                                   | 40                   |
// | 39     | u8       | row                                   | 41                   |
// | 40     | u8       | armament group                        | 42                   |
// | 41     | 5 bytes  | per-slot armament values              | 43                   |
// | 46     | u16      | armament group word                   | 48                   |
// | 48     | u16      | flags                                 | 50, masked with 0x000E |
// | 50     | 6 × u16  | cargo: slot + 1 of each loaded troop  | 56                   |
// | 62     | u16      | carrier: slot + 1                     | 68                   |
// | 64     | u8       | carrier: old faction + 1              | 89, through the slot map |
// The troop's division byte (270) follows from its slot (slot / 66).
inline constexpr size_t kTroopTurnAt = 0, kTroopNameAt = 4, kTroopNameSize = 32,
                        kTroopWeaponAt = 36, kTroopColAt = 38, kTroopRowAt = 39, kTroopGroupAt = 40,
                        kTroopSlotValuesAt = 41, kTroopSlotValues = 5, kTroopGroupWordAt = 46,
                        kTroopFlagsAt = 48, kTroopCargoAt = 50, kTroopCargoEntries = 6,
                        kTroopCarrierSlotAt = 62, kTroopCarrierTableAt = 64;
inline constexpr uint16_t kKeptTroopFlags = 0x000E;

// Production list: kinds 3 and 4 keep the old 2534-byte product type (32-byte name, u16, one
// 2500-byte set of weapon ids); kind 2 (2532 bytes) has no u16: name, then the set.
inline constexpr size_t kListNameSize = 32, kListSetBytes = 2500;
}  // namespace sc

// The number of sections the container of an earlier edition's kind (1..4) holds.
inline constexpr int containerSections(int kind) {
    return kind == kRealTime ? rt::kSectionCount : sc::sectionCount(kind);
}

}  // namespace kv::legacy
