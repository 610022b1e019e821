// Windows bitmap files of the map art (24-bit, with the 14-byte file header), from pictures.
#pragma once

#include <QImage>

#include <string>

namespace kv::sample {

// The bytes of a 24-bit bitmap file of `image` (alpha is ignored).
std::string bmpBytes(const QImage& image);

// Writes `image` as a bitmap file at `path` (replacing it safely). Returns an error text, or
// empty on success.
std::string writeBmp(const std::string& path, const QImage& image);

}  // namespace kv::sample
