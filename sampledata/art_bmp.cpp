// Windows bitmap files of the map art.
#include "sampledata/art_bmp.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "framework/bitmap_block.h"
#include "framework/disk_file.h"
#include "framework/errors.h"

namespace kv::sample {

std::string bmpBytes(const QImage& image) {
    const QImage src = image.convertToFormat(QImage::Format_RGB32);
    std::vector<uint32_t> pixels(static_cast<size_t>(src.width()) * src.height());
    for (int y = 0; y < src.height(); ++y) {
        const auto* line = reinterpret_cast<const uint32_t*>(src.constScanLine(y));
        std::copy(line, line + src.width(),
                  pixels.begin() + static_cast<ptrdiff_t>(y) * src.width());
    }
    return encodeBitmapFile(src.width(), src.height(), pixels);
}

std::string writeBmp(const std::string& path, const QImage& image) {
    try {
        writeFileAtomically(path, bmpBytes(image));
    } catch (const swCError& e) {
        return path + ": " + e.text();
    }
    return {};
}

}  // namespace kv::sample
