// The whole map as a small picture for file managers: the terrain as the bitmap export draws
// it, scaled down, or for a map too large for that, one overview colour per hex.
#pragma once

#include <QImage>

#include <string>

namespace kv {

class MapDocument;

inline constexpr int kMinThumbnailSize = 16;
inline constexpr int kMaxThumbnailSize = 1024;

// The map fitted into a `size`-pixel square (16..1024), its proportions kept: the longer side
// is `size` unless even the largest hex size draws the map smaller, which is then not
// enlarged. Raises swCBitmapError(Create) when the picture cannot be made.
QImage mapThumbnail(const MapDocument& doc, int size);

// Writes mapThumbnail() to `path` as PNG whatever its name (file managers pass temporary
// names), whole or not at all. Failures raise swCBitmapError.
void writeMapThumbnail(const MapDocument& doc, int size, const std::string& path);

}  // namespace kv
