// Reading an underlay picture (BMP, JPEG or PNG, told by its content): the size first, from
// the header, so a picture too large for the map is refused before its pixels are decoded;
// then the pixels, once, so what was checked is what is shown.
#pragma once

#include <QImage>
#include <QSize>

#include <cstdint>
#include <string>

namespace kv {

// The largest underlay a map of `mapWidth` × `mapHeight` hexes takes: its pixel size at
// hex size 32.
QSize maximumUnderlaySize(int mapWidth, int mapHeight);

// Files above this size are refused unread (a BMP of the largest map is about 150 MB).
inline constexpr int64_t kMaxUnderlayFileBytes = int64_t{256} << 20;

struct UnderlayRead {
    enum Problem {
        None,
        Unreadable,   // missing, not a regular file, or larger than kMaxUnderlayFileBytes
        TooLarge,     // larger than the maximum; `size` holds the picture's size
        Undecodable,  // not a picture Qt reads, or damaged
        OutOfMemory,  // the pixels could not be held
    };
    Problem problem = None;
    QSize size;    // the picture's size when its header was read
    QImage image;  // RGB32; null unless problem is None
};

// Reads the picture file at `path`, refusing one larger than `maximum`.
UnderlayRead readUnderlayFile(const std::string& path, QSize maximum);
// Checks a picture already in memory (the clipboard's) and converts it to RGB32.
UnderlayRead takeUnderlayImage(const QImage& picture, QSize maximum);

}  // namespace kv
