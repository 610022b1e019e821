// The faction colour table ("cstmcl.dat"), its defaults, and the hue rotation that turns a
// plain picture's pixels into a faction's colour.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "framework/bitmap_block.h"

namespace kv {

struct FactionColourEntry {
    uint16_t hueAngle = 0;  // degrees, 0..360
    uint16_t second = 0;    // carried in the table and the file only
    uint16_t third = 0;
    bool operator==(const FactionColourEntry&) const = default;
};

class FactionColourTable {
public:
    static constexpr int kEntryCount = 16;
    static constexpr size_t kFileSize = 96;
    static constexpr const char* kFileName = "cstmcl.dat";
    // Faction slot f (0..5) is coloured by entry f + 4.
    static constexpr int kFirstFactionEntry = 4;

    FactionColourTable() { setDefaults(); }

    void setDefaults();
    // Reads the file in the program folder; without it (or unreadable) the defaults.
    // Returns whether the file was used.
    bool load();
    bool loadFile(const std::string& path);
    // Writes the 96 bytes to the program folder safely. Throws swCFileError.
    void save() const;
    void saveFile(const std::string& path) const;

    // The file image, and its reading: entries wholly present in `bytes` replace the current
    // ones, the rest stay; bytes past the table are ignored.
    std::string toBytes() const;
    void fromBytes(std::string_view bytes);

    static int factionEntry(int slot) { return slot + kFirstFactionEntry; }
    // The angle of entry `index`, 0 for an index outside the table.
    int hueAngle(int index) const;

    std::array<FactionColourEntry, kEntryCount> entries;
    bool operator==(const FactionColourTable&) const = default;
};

// Colours are 0x??RRGGBB; the top byte is kept as it is.
// Rotates the hue of one colour by `hueAngle` degrees on a wheel of 1536 steps, keeping its
// saturation and brightness. Greys, and any angle that is a whole number of turns, leave
// the colour as it is. A colour other than the key never comes out as the key: it is
// stepped to the neighbouring colour instead.
uint32_t rotateHue(uint32_t rgb, int hueAngle);

// Rotates every pixel except the magenta colour key (kColourKey), which stays transparent.
void recolourPixels(uint32_t* pixels, size_t count, int hueAngle);

}  // namespace kv
