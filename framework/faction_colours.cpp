// Faction colour table file handling and the integer hue rotation.
#include "framework/faction_colours.h"

#include <algorithm>
#include <optional>

#include "framework/byte_cursor.h"
#include "framework/data_paths.h"
#include "framework/disk_file.h"
#include "framework/errors.h"

namespace kv {

namespace {

constexpr int kWheel = 1536;       // six sectors of 256 steps
constexpr int kMagentaHue = 1280;  // where the colour key sits on the wheel
constexpr size_t kEntryBytes = 6;
// Entries 12..15 are not used by any drawing; they default to no rotation.
constexpr uint16_t kDefaultAngles[FactionColourTable::kEntryCount] = {
    335, 120, 225, 175, 0, 130, 255, 200, 60, 330, 170, 80, 0, 0, 0, 0};

// Steps of the wheel for an angle, reduced to one turn.
int wheelOffset(int hueAngle) {
    const int64_t steps = static_cast<int64_t>(hueAngle) * kWheel / 360;
    return static_cast<int>((steps % kWheel + kWheel) % kWheel);
}

uint32_t rotate(uint32_t rgb, int offset) {
    const int r = rgb >> 16 & 0xFF, g = rgb >> 8 & 0xFF, b = rgb & 0xFF;
    const int max = std::max({r, g, b});
    const int diff = max - std::min({r, g, b});
    if (diff == 0 || offset == 0) return rgb;
    const int saturation = diff * 255 / max;
    int hue;
    if (r == max) {
        hue = (g - b) * 255 / diff + (g < b ? kWheel : 0);
    } else if (g == max) {
        hue = (b - r) * 255 / diff + 512;
    } else {
        hue = (r - g) * 255 / diff + 1024;
    }
    hue += offset;
    if (hue >= kWheel) hue -= kWheel;
    int pure[3];
    switch (hue / 256) {
        case 0: pure[0] = 255, pure[1] = hue, pure[2] = 0; break;
        case 1: pure[0] = 512 - hue, pure[1] = 255, pure[2] = 0; break;
        case 2: pure[0] = 0, pure[1] = 255, pure[2] = hue - 512; break;
        case 3: pure[0] = 0, pure[1] = 1024 - hue, pure[2] = 255; break;
        case 4: pure[0] = hue - 1024, pure[1] = 0, pure[2] = 255; break;
        default: pure[0] = 255, pure[1] = 0, pure[2] = kWheel - hue; break;
    }
    // Saturation and brightness come back in floating point, in this order of operations,
    // truncated. The first step of the odd sectors reaches 256 and is held at the top.
    uint32_t out = 0;
    for (int i = 0; i < 3; ++i) {
        const double x = pure[i];
        const double lifted = x + (255.0 - x) * (255 - saturation) / 255.0;
        const int v = static_cast<int>(lifted * max / 255.0);
        out |= static_cast<uint32_t>(std::clamp(v, 0, 255)) << (16 - 8 * i);
    }
    // Vivid colours at the key's hue come out as the key and would turn transparent; step
    // one unit to the nearest other colour, on the side of the wheel the hue lies on.
    if (out == kColourKey && (rgb & 0xFFFFFF) != kColourKey)
        out = hue < kMagentaHue ? kColourKey - 0x010000u : kColourKey - 1;
    return (rgb & 0xFF000000u) | out;
}

}  // namespace

void FactionColourTable::setDefaults() {
    for (int i = 0; i < kEntryCount; ++i) entries[i] = {kDefaultAngles[i], 0, 0};
}

bool FactionColourTable::load() {
    return loadFile(dataPath(kFileName, DataKind::Program));
}

bool FactionColourTable::loadFile(const std::string& path) {
    setDefaults();
    if (!fileExists(path)) return false;
    try {
        DiskFile file;
        file.open(path, DiskFile::Read);
        std::string bytes(kFileSize, '\0');
        bytes.resize(file.read(bytes.data(), kFileSize));
        fromBytes(bytes);
        return true;
    } catch (const swCError&) {
        return false;  // there but unreadable: the defaults serve
    }
}

void FactionColourTable::save() const {
    saveFile(writableDataPath(kFileName, DataKind::Program));
}

void FactionColourTable::saveFile(const std::string& path) const {
    writeFileAtomically(path, toBytes());
}

std::string FactionColourTable::toBytes() const {
    std::string file;
    file.reserve(kFileSize);
    ByteAppender out(file);
    for (const FactionColourEntry& e : entries) {
        out.u16(e.hueAngle);
        out.u16(e.second);
        out.u16(e.third);
    }
    return file;
}

void FactionColourTable::fromBytes(std::string_view bytes) {
    // Only whole entries are taken; the rest keep what they had.
    const size_t whole = std::min(bytes.size(), kFileSize) / kEntryBytes;
    ByteReader in(bytes);
    for (size_t i = 0; i < whole; ++i) entries[i] = {in.u16(), in.u16(), in.u16()};
}

int FactionColourTable::hueAngle(int index) const {
    return index >= 0 && index < kEntryCount ? entries[static_cast<size_t>(index)].hueAngle : 0;
}

uint32_t rotateHue(uint32_t rgb, int hueAngle) {
    return rotate(rgb, wheelOffset(hueAngle));
}

void recolourPixels(uint32_t* pixels, size_t count, int hueAngle) {
    const int offset = wheelOffset(hueAngle);
    if (offset == 0) return;
    // Sprite art repeats few colours; a small cache of the last results saves most rotations.
    constexpr size_t kSlots = 1024;
    uint32_t keys[kSlots];
    uint32_t values[kSlots];
    std::fill(keys, keys + kSlots, 0xFFFFFFFFu);
    for (size_t i = 0; i < count; ++i) {
        const uint32_t rgb = pixels[i] & 0xFFFFFF;
        if (rgb == kColourKey) continue;
        const size_t slot = (rgb * 2654435761u) >> 22;
        if (keys[slot] != rgb) {
            keys[slot] = rgb;
            values[slot] = rotate(rgb, offset);
        }
        pixels[i] = (pixels[i] & 0xFF000000u) | values[slot];
    }
}

}  // namespace kv
