// The bitmap export: the terrain of the whole map drawn band by band straight into the
// bottom-up rows of a 16-bit bitmap file (bands drawn ahead while one is written), or into
// RGB rows for the PNG writer; the file is written beside its target and renamed into place.
#include "view/bitmap_export.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <exception>
#include <future>
#include <new>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "document/hex_pixels.h"
#include "document/map_document.h"
#include "framework/byte_cursor.h"
#include "framework/disk_file.h"
#include "framework/errors.h"
#include "view/hex_painter.h"
#include "view/png_writer.h"
#include "view/sprite_sheets.h"

namespace kv {

namespace {

// Pixel rows drawn at a time when the file is written band by band.
constexpr int kBandRows = 256;

bool endsWithPng(const std::string& path) {
    if (path.size() < 4) return false;
    std::string ext = path.substr(path.size() - 4);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == ".png";
}

// Draws picture rows y0 .. y1 − 1 into `band` (its row 0 is picture row y0), black where no
// hex covers it. Only hexes that reach into the band are drawn, in the same order as for
// the whole picture, so every band is exactly that part of it.
void drawBand(const MapDocument& doc, const SpriteSheets& sheets, int y0, int y1,
              DrawSurface band) {
    const HexPixels g(sheets.hexSize());
    for (int y = 0; y < band.height; ++y)
        std::memset(band.row(y), 0, size_t(band.width) * size_t(band.bytesPerPixel));
    HexDrawOptions options;
    options.terrainOnly = true;
    HexPainter painter(doc, sheets, band, {0, 0, band.width, band.height}, options, nullptr);
    const int pitch = g.rowPitch(), s = g.size();
    const int firstRow = std::max(0, (y0 - s) / pitch);
    const int lastRow = std::min(doc.height() - 1, (y1 - 1) / pitch);
    for (int row = firstRow; row <= lastRow; ++row) {
        if (row * pitch + s <= y0) continue;
        for (int col = 0; col < doc.width(); ++col) {
            const PixelPos p = g.hexToPixel({col, row}, {0, 0});
            painter.drawHex(col, row, p.x, p.y - y0);
        }
    }
}

// Rows y0 .. y1 − 1 of the bitmap, stored bottom-up in `rows` (row y1 − 1 first).
void drawBitmapRows(const MapDocument& doc, const SpriteSheets& sheets, const ExportLayout& l,
                    int y0, int y1, uint8_t* rows) {
    DrawSurface band;
    band.origin = rows + size_t(y1 - y0 - 1) * l.stride;
    band.stride = -static_cast<ptrdiff_t>(l.stride);
    band.width = l.width;
    band.height = y1 - y0;
    band.bytesPerPixel = 2;
    drawBand(doc, sheets, y0, y1, band);
}

// Rows y0 .. y1 − 1 as 8-bit RGB: drawn in 5-5-5 like the bitmap, each channel widened the
// way a bitmap reader widens it, so the PNG holds exactly the bitmap's colours.
void drawRgbRows(const MapDocument& doc, const SpriteSheets& sheets, int width, int y0, int y1,
                 uint8_t* rgb, size_t stride, std::vector<uint8_t>& scratch) {
    const size_t bandStride = size_t(width) * 2;
    scratch.resize(bandStride * size_t(y1 - y0));
    DrawSurface band;
    band.origin = scratch.data();
    band.stride = static_cast<ptrdiff_t>(bandStride);
    band.width = width;
    band.height = y1 - y0;
    band.bytesPerPixel = 2;
    drawBand(doc, sheets, y0, y1, band);
    // Each 5-5-5 value to its R, G, B bytes (and one spare): one look-up a pixel, written
    // four bytes at a time, the spare byte overwritten by the next pixel.
    static const std::vector<uint32_t> kRgb = [] {
        std::vector<uint32_t> t(size_t{1} << 15);
        auto widen = [](unsigned v) { return v << 3 | v >> 2; };
        for (unsigned v = 0; v < t.size(); ++v) {
            const uint8_t bytes[4] = {uint8_t(widen(v >> 10 & 31)), uint8_t(widen(v >> 5 & 31)),
                                      uint8_t(widen(v & 31)), 0};
            std::memcpy(&t[v], bytes, 4);
        }
        return t;
    }();
    for (int y = 0; y < y1 - y0; ++y) {
        const uint8_t* in = band.row(y);
        uint8_t* out = rgb + stride * size_t(y);
        int x = 0;
        for (; x + 1 < width; ++x, in += 2, out += 3) {
            const uint32_t v = kRgb[(unsigned(in[0]) | unsigned(in[1]) << 8) & 0x7FFF];
            std::memcpy(out, &v, 4);
        }
        std::memcpy(out, &kRgb[(unsigned(in[0]) | unsigned(in[1]) << 8) & 0x7FFF], 3);
    }
}

// The file written beside the target and renamed over it; removed unless committed.
class PendingFile {
public:
    explicit PendingFile(const std::string& target) : target_(target) {
        fd_ = createTemporaryBeside(target, temp_);
        if (fd_ < 0) throw swCBitmapError(swCBitmapError::Save, target);
        const mode_t mask = ::umask(022);
        ::umask(mask);
        ::fchmod(fd_, 0666 & ~mask);
    }
    ~PendingFile() {
        if (fd_ >= 0) ::close(fd_);
        if (!committed_) ::unlink(temp_.c_str());
    }
    void write(const uint8_t* data, size_t size, off_t at) {
        while (size > 0) {
            const ssize_t n = ::pwrite(fd_, data, size, at);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) throw swCBitmapError(swCBitmapError::Save, target_);
            data += n;
            size -= size_t(n);
            at += n;
        }
    }
    // Writes at the end of what was appended so far.
    void append(const uint8_t* data, size_t size) {
        write(data, size, end_);
        end_ += off_t(size);
    }
    void commit() {
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0 || ::rename(temp_.c_str(), target_.c_str()) != 0)
            throw swCBitmapError(swCBitmapError::Save, target_);
        committed_ = true;
    }

private:
    std::string target_, temp_;
    int fd_ = -1;
    off_t end_ = 0;
    bool committed_ = false;
};

}  // namespace

SpriteSheets exportSheets(const MapDocument& doc, int hexSize) {
    SpriteSheets sheets;
    sheets.build(normalisedHexSize(hexSize), doc.factionColours, false, doc.gameDatabase, true);
    return sheets.toRgb555();
}

ExportLayout exportLayout(int mapWidth, int mapHeight, int hexSize) {
    const HexPixels g(hexSize);
    ExportLayout l;
    l.width = g.mapPixelWidth(mapWidth);
    l.height = g.mapPixelHeight(mapHeight);
    l.stride = static_cast<uint32_t>((l.width * 16 + 31) / 32 * 4);
    l.imageBytes = static_cast<uint32_t>(l.height) * l.stride;
    return l;
}

std::string exportHeader(const ExportLayout& l) {
    std::string h;
    ByteAppender out(h);
    out.bytes(std::string_view("BM"));
    out.u32(l.imageBytes + kExportHeaderSize);
    out.u32(0);
    out.u32(kExportHeaderSize);  // where the pixels begin
    out.u32(40);                 // the information header
    out.i32(l.width);
    out.i32(l.height);
    out.u16(1);
    out.u16(16);
    out.u32(0);  // no compression
    out.u32(l.imageBytes);
    out.zeros(kExportHeaderSize - out.size());
    return h;
}

std::string exportBitmapBytes(const MapDocument& doc, const SpriteSheets& sheets) {
    const ExportLayout l = exportLayout(doc.width(), doc.height(), sheets.hexSize());
    std::string file;
    try {
        // Zero bytes are black pixels: what no hex covers stays black.
        file.assign(size_t{kExportHeaderSize} + l.imageBytes, '\0');
    } catch (const std::bad_alloc&) {
        throw swCBitmapError(swCBitmapError::Create);
    }
    const std::string header = exportHeader(l);
    std::memcpy(file.data(), header.data(), header.size());
    auto* pixels = reinterpret_cast<uint8_t*>(file.data()) + kExportHeaderSize;
    // The whole picture is one band: picture row 0 is the last row of the file.
    drawBitmapRows(doc, sheets, l, 0, l.height, pixels);
    return file;
}

QImage exportImage(const std::string& bytes) {
    if (bytes.size() < kExportHeaderSize) return {};
    const int w = static_cast<int>(loadU32(&bytes[18])), h = static_cast<int>(loadU32(&bytes[22]));
    if (w <= 0 || h <= 0) return {};
    const size_t stride = static_cast<size_t>((w * 16 + 31) / 32 * 4);
    if (bytes.size() < kExportHeaderSize + stride * size_t(h)) return {};
    QImage image(w, h, QImage::Format_RGB32);
    if (image.isNull()) return image;
    for (int y = 0; y < h; ++y) {
        const uint8_t* in = reinterpret_cast<const uint8_t*>(bytes.data()) + kExportHeaderSize +
                            stride * size_t(h - 1 - y);
        QRgb* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int v = loadU16(in + 2 * x);
            const int r = v >> 10 & 31, g = v >> 5 & 31, b = v & 31;
            out[x] = qRgb(r << 3 | r >> 2, g << 3 | g >> 2, b << 3 | b >> 2);
        }
    }
    return image;
}

void exportPng(const MapDocument& doc, const SpriteSheets& sheets16, const PngSink& sink,
               const PngOptions& options) {
    const ExportLayout l = exportLayout(doc.width(), doc.height(), sheets16.hexSize());
    writePng(
        l.width, l.height,
        [&](int y0, int y1, uint8_t* rgb, size_t stride, std::vector<uint8_t>& scratch) {
            drawRgbRows(doc, sheets16, l.width, y0, y1, rgb, stride, scratch);
        },
        sink, options);
}

void exportBitmap(const MapDocument& doc, int hexSize, const std::string& path,
                  const PngOptions& png) {
    exportBitmap(doc, exportSheets(doc, hexSize), path, png);
}

void exportBitmap(const MapDocument& doc, const SpriteSheets& sheets16, const std::string& path,
                  const PngOptions& png) {
    const ExportLayout l = exportLayout(doc.width(), doc.height(), sheets16.hexSize());
    PendingFile file(path);
    try {
        if (endsWithPng(path)) {
            exportPng(
                doc, sheets16, [&](const uint8_t* data, size_t size) { file.append(data, size); },
                png);
            file.commit();
            return;
        }
        // The bitmap goes to the file band by band: the whole picture is never held at once.
        const std::string header = exportHeader(l);
        file.append(reinterpret_cast<const uint8_t*>(header.data()), header.size());
        // Bands are drawn ahead on other threads while the oldest one is written.
        const int ahead = static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 2u, 4u));
        const int count = (l.height + kBandRows - 1) / kBandRows;
        std::vector<std::vector<uint8_t>> bands(size_t(std::min(ahead, count)));
        for (auto& band : bands) band.resize(size_t(std::min(kBandRows, l.height)) * l.stride);
        auto draw = [&](int band) {
            const int y0 = band * kBandRows, y1 = std::min(l.height, y0 + kBandRows);
            drawBitmapRows(doc, sheets16, l, y0, y1, bands[size_t(band) % bands.size()].data());
        };
        std::vector<std::future<void>> drawing(bands.size());
        for (int band = 0; band < int(bands.size()); ++band)
            drawing[size_t(band)] = std::async(std::launch::async, draw, band);
        for (int band = 0; band < count; ++band) {
            const size_t slot = size_t(band) % bands.size();
            drawing[slot].get();
            const int y0 = band * kBandRows, y1 = std::min(l.height, y0 + kBandRows);
            file.write(bands[slot].data(), size_t(y1 - y0) * l.stride,
                       off_t(kExportHeaderSize) + off_t(l.height - y1) * off_t(l.stride));
            if (band + int(bands.size()) < count)
                drawing[slot] = std::async(std::launch::async, draw, band + int(bands.size()));
        }
        file.commit();
    } catch (const std::exception&) {  // no memory, no thread, a deflate failure
        throw swCBitmapError(swCBitmapError::Create, path);
    }
}

}  // namespace kv
