// The bitmap export: the terrain of the whole map drawn band by band straight into the
// bottom-up rows of a 16-bit bitmap file, which is written beside its target and renamed
// into place.
#include "view/bitmap_export.h"

#include <QBuffer>
#include <QByteArray>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
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

// Draws picture rows y0 .. y1 − 1 into `rows`, which holds them bottom-up (row y1 − 1
// first), zeroed (black) by the caller. Only hexes that reach into the band are drawn, in
// the same order as for the whole picture, so every band is exactly that part of it.
void drawBand(const MapDocument& doc, const SpriteSheets& sheets, const ExportLayout& l, int y0,
              int y1, uint8_t* rows) {
    const HexPixels g(sheets.hexSize());
    const int h = y1 - y0;
    DrawSurface band;
    band.origin = rows + size_t(h - 1) * l.stride;
    band.stride = -static_cast<ptrdiff_t>(l.stride);
    band.width = l.width;
    band.height = h;
    band.bytesPerPixel = 2;
    HexDrawOptions options;
    options.terrainOnly = true;
    HexPainter painter(doc, sheets, band, {0, 0, l.width, h}, options, nullptr);
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
    bool committed_ = false;
};

}  // namespace

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
    drawBand(doc, sheets, l, 0, l.height, pixels);
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

void exportBitmap(const MapDocument& doc, int hexSize, const std::string& path) {
    SpriteSheets sheets;
    sheets.build(normalisedHexSize(hexSize), doc.factionColours, false, doc.gameDatabase, true);
    const SpriteSheets sheets16 = sheets.toRgb555();
    if (endsWithPng(path)) {
        const QImage image = exportImage(exportBitmapBytes(doc, sheets16));
        if (image.isNull()) throw swCBitmapError(swCBitmapError::Create, path);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG")) throw swCBitmapError(swCBitmapError::Create, path);
        PendingFile file(path);
        file.write(reinterpret_cast<const uint8_t*>(png.constData()), size_t(png.size()), 0);
        file.commit();
        return;
    }
    // The bitmap goes to the file band by band: the whole picture is never held at once.
    const ExportLayout l = exportLayout(doc.width(), doc.height(), sheets16.hexSize());
    PendingFile file(path);
    const std::string header = exportHeader(l);
    file.write(reinterpret_cast<const uint8_t*>(header.data()), header.size(), 0);
    std::vector<uint8_t> band;
    try {
        band.resize(size_t(kBandRows) * l.stride);
    } catch (const std::bad_alloc&) {
        throw swCBitmapError(swCBitmapError::Create, path);
    }
    for (int y0 = 0; y0 < l.height; y0 += kBandRows) {
        const int y1 = std::min(l.height, y0 + kBandRows);
        std::fill(band.begin(), band.end(), uint8_t{0});
        drawBand(doc, sheets16, l, y0, y1, band.data());
        file.write(band.data(), size_t(y1 - y0) * l.stride,
                   off_t(kExportHeaderSize) + off_t(l.height - y1) * off_t(l.stride));
    }
    file.commit();
}

}  // namespace kv
