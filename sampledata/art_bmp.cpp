// Windows bitmap files of the map art.
#include "sampledata/art_bmp.h"

#include <cstdint>

#include "framework/disk_file.h"
#include "framework/errors.h"

namespace kv::sample {

namespace {

void put16(std::string& out, uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

void put32(std::string& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

}  // namespace

std::string bmpBytes(const QImage& image) {
    const QImage src = image.convertToFormat(QImage::Format_RGB32);
    const uint32_t width = static_cast<uint32_t>(src.width());
    const uint32_t height = static_cast<uint32_t>(src.height());
    const uint32_t stride = (width * 3 + 3) / 4 * 4;
    const uint32_t imageSize = stride * height;
    std::string out;
    out.reserve(54 + imageSize);
    // File header.
    out += "BM";
    put32(out, 54 + imageSize);
    put32(out, 0);
    put32(out, 54);
    // Information header.
    put32(out, 40);
    put32(out, width);
    put32(out, height);
    put16(out, 1);   // planes
    put16(out, 24);  // bits per pixel
    put32(out, 0);   // no compression
    put32(out, imageSize);
    put32(out, 2835);  // 72 dots per inch
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (uint32_t row = height; row-- > 0;) {
        const auto* line = reinterpret_cast<const QRgb*>(src.constScanLine(static_cast<int>(row)));
        for (uint32_t x = 0; x < width; ++x) {
            out += static_cast<char>(qBlue(line[x]));
            out += static_cast<char>(qGreen(line[x]));
            out += static_cast<char>(qRed(line[x]));
        }
        out.append(stride - width * 3, '\0');
    }
    return out;
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
