// The hex grid of a map: per-hex cells, overlays, marks and reinforcement index, and the
// terrain labels, all allocated once at their largest size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// Every field sits at its natural alignment, so the 22 stored bytes are this struct.
struct HexCell {
    uint8_t terrain;         // terrain index
    uint8_t owner;           // 0 none, 1..6 faction slot + 1, 7 the special colour
    uint16_t picture;        // terrain picture, 1000 + 7k + p for a mega piece member
    uint8_t roadLinks;       // bits 0..5 = directions 0..5
    uint8_t river;           // links in bits 0..5, variant in bits 6..7
    uint16_t missile;        // weapon id + 1 of the stationed missile
    uint8_t bridgePiece;     // bridge piece + 1; 5 on missile bases (launch interval)
    uint8_t shownCount;      // count shown on the hex (missiles)
    uint8_t byte10;          // kept
    uint8_t territory;       // 0 none, 1..6 faction slot + 1, 7 neutral
    uint8_t borderKinds[3];  // six 4-bit kinds, side i in byte i / 2, low nibble for even i
    uint8_t mineKind;        // 0 none, 1 land mine, 2 sea mine
    uint8_t mineCount;       // activation count
    uint8_t mineSeenBy;      // bit f: faction f sees the mine
    uint8_t byte18;          // kept
    uint8_t destroyed;       // 1 destroyed building or bridge
    uint8_t tempBridge;      // temporary bridge piece + 1
    uint8_t supplyLinks;     // sea supply line links, bits 0..5

    static constexpr uint8_t kLinkMask = 0x3F;
    uint8_t riverLinks() const { return river & kLinkMask; }
    int riverVariant() const { return river >> 6; }
    // Side 0..5; 0 for another side.
    int borderKind(int side) const {
        if (side < 0 || side > 5) return 0;
        const uint8_t b = borderKinds[side / 2];
        return side % 2 == 0 ? (b & 0x0F) : (b >> 4);
    }
    void setBorderKind(int side, int kind) {
        if (side < 0 || side > 5) return;
        uint8_t& b = borderKinds[side / 2];
        const uint8_t k = static_cast<uint8_t>(kind & 0x0F);
        b = side % 2 == 0 ? static_cast<uint8_t>((b & 0xF0) | k)
                          : static_cast<uint8_t>((b & 0x0F) | k << 4);
    }
    bool operator==(const HexCell&) const = default;
};
static_assert(sizeof(HexCell) == 22);
static_assert(offsetof(HexCell, picture) == 2 && offsetof(HexCell, roadLinks) == 4);
static_assert(offsetof(HexCell, missile) == 6 && offsetof(HexCell, territory) == 11);
static_assert(offsetof(HexCell, borderKinds) == 12 && offsetof(HexCell, mineKind) == 15);
static_assert(offsetof(HexCell, destroyed) == 19 && offsetof(HexCell, supplyLinks) == 21);

// Stack positions of the troops standing on a hex.
inline constexpr int kStackPositions = 3;

// Derived per-hex data, rebuilt after loads and never stored.
struct HexOverlay {
    int16_t labelNumber;                  // index + 1 into the labels, 0 none
    int16_t stackTable[kStackPositions];  // table number + 1 of the troop at each position
    int16_t stackSlot[kStackPositions];
    uint8_t occupied;    // a stowed troop is at the hex
    uint8_t borderBits;  // bit i: a borderline on side i
    bool operator==(const HexOverlay&) const = default;
};
static_assert(sizeof(HexOverlay) == 16);
static_assert(offsetof(HexOverlay, stackSlot) == 8 && offsetof(HexOverlay, occupied) == 14);

// The troops of one reinforcement turn at a hex (edit mode 2).
struct TroopIndexRecord {
    int16_t table[kStackPositions];  // table number + 1
    int16_t slot[kStackPositions];
    uint8_t stowed;  // a stowed troop of the turn is at the hex
    uint8_t spare;
    bool operator==(const TroopIndexRecord&) const = default;
};
static_assert(sizeof(TroopIndexRecord) == 14);
static_assert(offsetof(TroopIndexRecord, stowed) == 12);

struct TerrainLabel {
    static constexpr size_t kTextSize = 34;
    char text[kTextSize];  // CP932, NUL-terminated
    uint8_t col;
    uint8_t row;
    uint8_t kind;   // 0 terrain label, 1 victory-condition label
    uint8_t value;  // 1: a progress target

    bool inUse() const { return text[0] != 0; }
    std::string textString() const;
    // Cut at a character boundary to 33 bytes; the rest of the field zeroed.
    void setText(std::string_view cp932);
    bool operator==(const TerrainLabel&) const = default;
};
static_assert(sizeof(TerrainLabel) == 38);
static_assert(offsetof(TerrainLabel, col) == 34 && offsetof(TerrainLabel, value) == 37);

// Hex mark bits.
inline constexpr uint32_t kMarkPreview = 0x1;
inline constexpr uint32_t kMarkMoveSource = 0x2;
inline constexpr uint32_t kMarkFlash = 0x8;

class MapGrid {
public:
    static constexpr int kMaxSide = 256;
    static constexpr int kMaxHexes = 65536;
    static constexpr int kMaxLabels = 1000;

    MapGrid();

    // Index col + row × width of the map; never resized.
    std::vector<HexCell> cells;
    std::vector<HexOverlay> overlays;
    std::vector<uint32_t> hexMarks;
    std::vector<TroopIndexRecord> troopIndex;
    std::vector<TerrainLabel> labels;

    // Zeroes every table. Only the hexes that can hold anything are written: the first
    // `hexesInUse` (the map's area, where its edits went) and those the file reader filled
    // (noteFilled); past them the tables are still zero from the last clear.
    void clear(int hexesInUse = kMaxHexes);
    // Hexes 0..hexes-1 were written whatever the map's size; the next clear zeroes them.
    void noteFilled(size_t hexes);
    // One more than the index of the last label in use.
    int labelCount() const;
    // Moves the labels in use to the front, keeping their order, and clears the rest.
    void packLabels();

private:
    // Every hex table is zero from this hex on, except within the area of the map in use.
    size_t filled_ = kMaxHexes;
};

}  // namespace kv
