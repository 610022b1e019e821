// A fast PNG writer for large pictures: 8-bit RGB rows made band by band, stored with one
// fixed filter (none) and deflated on worker threads with libdeflate, the bands' streams joined
// into the single zlib stream a PNG holds. Only a few bands are in memory at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kv {

inline constexpr int kMinPngLevel = 1;
inline constexpr int kMaxPngLevel = 12;
// Level 4 is the knee of the curve for map pictures: levels 1 to 3 save little time for
// files up to a third larger, the levels above it cost more time than they save in size.
inline constexpr int kDefaultPngLevel = 4;

struct PngOptions {
    int level = kDefaultPngLevel;  // libdeflate's 1..12
    int threads = 0;               // worker threads; 0: one per processor (at most 8)
};

// Fills picture rows y0 .. y1 − 1 top-down, 3 bytes (R, G, B) a pixel, rows `stride` bytes
// apart (the byte after a row's last pixel is not the source's to write). Called from the worker
// threads at once for different bands; `scratch` belongs to the calling worker and keeps its
// capacity between calls.
using PngRowSource =
    std::function<void(int y0, int y1, uint8_t* rgb, size_t stride, std::vector<uint8_t>& scratch)>;
// Takes the file's bytes in order.
using PngSink = std::function<void(const uint8_t* data, size_t size)>;

// Writes a width × height RGB PNG through `sink`. The bands depend only on the width, so the
// file is the same for every thread count. Whatever the source or the sink throws is thrown
// again once the workers have stopped; std::bad_alloc when memory runs out;
// std::invalid_argument for a picture without pixels.
void writePng(int width, int height, const PngRowSource& rows, const PngSink& sink,
              const PngOptions& options = {});

// The picture rows of one band of a picture `width` pixels wide.
int pngBandRows(int width);

// Where the final block of a raw deflate stream begins and where the stream ends, in bits
// from the start; found = false when the data is not a complete stream.
struct DeflateEnd {
    bool found = false;
    uint64_t finalHeaderBit = 0;
    uint64_t endBit = 0;
};
DeflateEnd findDeflateEnd(const uint8_t* data, size_t size);

// Turns a complete raw deflate stream into one that goes on: the final block's flag cleared
// and an empty stored block appended, so that it ends on a byte boundary (as a sync flush
// does) and another stream can follow it. False when `stream` is not a complete stream.
bool makeDeflateContinue(std::vector<uint8_t>& stream);

// The Adler-32 of two pieces from the checksums of each and the length of the second.
uint32_t adler32Combine(uint32_t first, uint32_t second, uint64_t secondLength);

}  // namespace kv
