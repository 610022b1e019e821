// Picture loading and sheet cutting on arbitrary bytes, as a bitmap file or as an entry of a
// FLINK archive: never crashes, a picture is whole or empty, a cut
// has the size asked for, and recolouring and scaling keep the size and the key.

#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>

#include "framework/disk_file.h"
#include "framework/errors.h"
#include "framework/picture.h"
#include "fuzz/offscreen_gui.h"

namespace {

using kvfuzz::expect;

void checkPicture(const kv::Picture& p, const uint8_t* data, size_t size) {
    if (p.isNull()) return;
    expect(p.width() > 0 && p.height() > 0);
    auto at = [&](size_t i) { return i < size ? data[i] : uint8_t(0); };
    // A cell of a sheet, partly outside the picture, mirrored as the input says.
    const int cellSize = at(2) % 48 + 1;
    const kv::Rect rect = kv::cellRect(at(3) % 8, at(4) % 8, cellSize);
    const kv::Picture cell = p.cut(rect, at(5) % 4);
    expect(cell.width() == cellSize && cell.height() == cellSize);
    const kv::Picture coloured = cell.recoloured(at(6) * 3);
    expect(coloured.width() == cell.width() && coloured.height() == cell.height());
    for (int y = 0; y < cell.height(); ++y)
        for (int x = 0; x < cell.width(); ++x)
            expect(((cell.image().pixel(x, y) & 0xFFFFFF) == kv::kColourKey) ==
                   ((coloured.image().pixel(x, y) & 0xFFFFFF) == kv::kColourKey));
    if (p.width() <= 64 && p.height() <= 64) {
        const kv::Picture scaled = p.scaledCells(16, at(7) % 2 ? 32 : 48);
        expect(scaled.isNull() || (scaled.width() >= p.width() && scaled.height() >= p.height()));
        p.scaledCells(48, 16);
    }
    p.withTransparentKey();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    kvfuzz::startOffscreenGui(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string& path = kvfuzz::writeScratchInput("picture.dat", bytes);
    // A FLINK archive gives its first or second entry; anything else is read as a bitmap file.
    const bool archive = bytes.starts_with("FLINK");
    const int flags = static_cast<int>(size % 4);
    kv::Picture picture;
    try {
        picture.loadFile(path, flags, archive ? static_cast<int>(size / 4 % 2) : -1);
    } catch (const kv::swCBitmapError&) {
        expect(picture.isNull());
    } catch (const kv::swCFileError&) {
        std::abort();  // the file is there
    }
    checkPicture(picture, data, size);

    // The same bytes as an image in memory (which may also lack the file header), and a part
    // of the file loaded directly.
    if (!archive) {
        kv::Picture memory;
        try {
            memory.fromMemory(std::span<const uint8_t>(data, size));
        } catch (const kv::swCBitmapError&) {
        }
        checkPicture(memory, data, size);
        kv::Picture part;
        try {
            part.loadRect(path, kv::Rect{-3, 2, 13, 11}, 1);
            expect(part.isNull() || (part.width() == 16 && part.height() == 9));
        } catch (const kv::swCBitmapError&) {
        }
    }
    return 0;
}
