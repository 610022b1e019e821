// The faction colour table (cstmcl.dat) on arbitrary bytes: reading a file agrees with
// reading its bytes, entries the bytes do not hold whole keep their defaults, the table
// writes back and reads as itself, and the hue rotation of its angles never makes the key.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "framework/bitmap_block.h"
#include "framework/disk_file.h"
#include "framework/errors.h"
#include "framework/faction_colours.h"
#include "fuzz/scratch_program.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using kv::FactionColourTable;
    using kvfuzz::expect;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    static const std::string path = kvfuzz::scratchFolder() + "/" + FactionColourTable::kFileName;
    try {
        kv::writeFileAtomically(path, bytes);
    } catch (const kv::swCError&) {
        std::abort();
    }
    FactionColourTable fromFile;
    fromFile.loadFile(path);
    FactionColourTable fromMemory;
    fromMemory.fromBytes(bytes);
    expect(fromFile == fromMemory);

    const FactionColourTable defaults;
    const size_t whole = size / 6;
    for (size_t i = whole; i < FactionColourTable::kEntryCount; ++i)
        expect(fromMemory.entries[i] == defaults.entries[i]);

    const std::string image = fromMemory.toBytes();
    expect(image.size() == FactionColourTable::kFileSize);
    FactionColourTable again;
    again.fromBytes(image);
    expect(again == fromMemory);

    for (int i = -1; i <= FactionColourTable::kEntryCount; ++i) {
        const int angle = fromMemory.hueAngle(i);
        for (uint32_t rgb :
             {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0x00FE00FFu, 0x00808080u, 0x00123456u}) {
            const uint32_t out = kv::rotateHue(rgb, angle);
            expect(rgb == kv::kColourKey || (out & 0xFFFFFF) != kv::kColourKey);
        }
    }
    // The input's own words as pixels, recoloured by each faction's angle: the key stays the
    // key and nothing else becomes it.
    std::vector<uint32_t> pixels;
    for (size_t i = 0; i + 3 < size && pixels.size() < 64; i += 4)
        pixels.push_back(uint32_t(data[i]) | uint32_t(data[i + 1]) << 8 |
                         uint32_t(data[i + 2]) << 16 | uint32_t(data[i + 3]) << 24);
    for (int slot = 0; slot < 6; ++slot) {
        std::vector<uint32_t> out = pixels;
        kv::recolourPixels(out.data(), out.size(),
                           fromMemory.hueAngle(FactionColourTable::factionEntry(slot)));
        for (size_t i = 0; i < out.size(); ++i)
            expect(((pixels[i] & 0xFFFFFF) == kv::kColourKey) ==
                   ((out[i] & 0xFFFFFF) == kv::kColourKey));
    }
    return 0;
}
