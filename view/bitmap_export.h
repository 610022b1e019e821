// The map exported as a picture: a 16-bit 5-5-5 bottom-up bitmap file of the whole map's
// terrain at one hex size, or the same picture as PNG.
#pragma once

#include <QImage>

#include <cstdint>
#include <string>

#include "view/png_writer.h"

namespace kv {

class MapDocument;
class SpriteSheets;

// The size of the exported picture for a map and hex size.
struct ExportLayout {
    int width = 0;            // S · map width + S/2
    int height = 0;           // S · map height · 3/4 + S/4
    uint32_t stride = 0;      // bytes of a row, padded to 4
    uint32_t imageBytes = 0;  // height · stride
};
ExportLayout exportLayout(int mapWidth, int mapHeight, int hexSize);

inline constexpr uint32_t kExportHeaderSize = 58;
// The 58-byte file and information header of the bitmap.
std::string exportHeader(const ExportLayout& layout);

// The whole bitmap file: the header, then the terrain of every hex drawn from `sheets`
// (16-bit 5-5-5 sheets at the export's hex size) with hex (0, 0) at the top-left: ground,
// buildings in their owners' colours, bridges, rivers, temporary bridges and roads. No
// troops, labels, borderlines, marks or hex frame. Raises swCBitmapError(Create) when the
// picture cannot be allocated.
std::string exportBitmapBytes(const MapDocument& doc, const SpriteSheets& sheets);

// The same picture as an image.
QImage exportImage(const std::string& bitmapBytes);

// The 16-bit sheets the export draws from at `hexSize`.
SpriteSheets exportSheets(const MapDocument& doc, int hexSize);

// The picture as an 8-bit RGB PNG through `sink`: exactly the bitmap's pixels.
void exportPng(const MapDocument& doc, const SpriteSheets& sheets16, const PngSink& sink,
               const PngOptions& options = {});

// Builds sheets at `hexSize` and writes the export to `path`: a bitmap file, or a PNG (with
// `png`'s level and threads) when the name ends in ".png". The file is written whole or not
// at all; failures raise swCBitmapError (Create when the picture cannot be made, Save when
// it cannot be written).
void exportBitmap(const MapDocument& doc, int hexSize, const std::string& path,
                  const PngOptions& png = {});
// The same from 16-bit sheets made already (exportSheets, or the sheet cache).
void exportBitmap(const MapDocument& doc, const SpriteSheets& sheets16, const std::string& path,
                  const PngOptions& png = {});

}  // namespace kv
