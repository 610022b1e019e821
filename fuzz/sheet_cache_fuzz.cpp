// The sheet cache reader on arbitrary bytes, under whatever key the bytes claim: never
// crashes, and the sheets it gives back draw inside their bounds wherever they are put, in
// 32 and in 16 bits.
#include <QImage>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "framework/disk_file.h"
#include "framework/errors.h"
#include "fuzz/offscreen_gui.h"
#include "view/sheet_cache.h"
#include "view/sprite_sheets.h"

namespace {

using kvfuzz::expect;

// The key as the file states it (after the magic and the version), so that inputs reach the
// sheets rather than stopping at a key that does not match.
std::string claimedKey(std::string_view bytes) {
    if (bytes.size() < 16) return {};
    uint32_t length = 0;
    std::memcpy(&length, bytes.data() + 12, 4);
    if (length > bytes.size() - 16) return {};
    return std::string(bytes.substr(16, length));
}

void drawEverywhere(const kv::SpriteImage& sprite, kv::DrawSurface& target, int seed) {
    if (sprite.isNull()) return;
    const int w = sprite.width(), h = sprite.height();
    const kv::Rect whole{0, 0, w, h};
    const kv::Rect clip{0, 0, target.width, target.height};
    for (int x : {-w + 1, -seed % 7, 3, target.width - 2})
        for (int y : {-h + 1, -seed % 5, 2, target.height - 1}) {
            const kv::Rect covered = sprite.drawTo(target, x, y, whole, clip);
            expect(covered.left >= 0 && covered.top >= 0 && covered.right <= target.width &&
                   covered.bottom <= target.height);
        }
    sprite.isOpaque(seed % (w + 2) - 1, seed % (h + 2) - 1);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    kvfuzz::startOffscreenGui(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string& path = kvfuzz::writeScratchInput("sheets.cache", bytes);
    const std::optional<kv::SpriteSheets> sheets = kv::readSheetCache(path, claimedKey(bytes));
    if (!sheets) return 0;
    const kv::SpriteSheets rgb555 = sheets->toRgb555();
    static QImage image32(40, 30, QImage::Format_RGB32);
    static QImage image16(40, 30, QImage::Format_RGB555);
    kv::DrawSurface target32 = kv::DrawSurface::of(image32);
    kv::DrawSurface target16 = kv::DrawSurface::of(image16);
    const int seed = size > 20 ? data[20] : 0;
    for (int i = 0; i < int(kv::Sheet::Count); ++i) {
        drawEverywhere((*sheets)[kv::Sheet(i)], target32, seed);
        drawEverywhere(rgb555[kv::Sheet(i)], target16, seed);
    }
    return 0;
}
