// The banded PNG writer. libdeflate compresses whole buffers into complete streams, so each
// band's stream is walked once to find its final block, which is then turned into a
// non-final one ending on a byte boundary; the joined streams form one zlib stream whose
// checksum is combined from the bands' own.
#include "view/png_writer.h"

#include <libdeflate.h>

#include <algorithm>
#include <array>
#include <bit>
#include <condition_variable>
#include <cstring>
#include <exception>
#include <mutex>
#include <new>
#include <stdexcept>
#include <thread>

namespace kv {

namespace {

// --- walking a deflate stream ---------------------------------------------------------

uint64_t byteSwapped(uint64_t v) {
    uint64_t out = 0;
    for (int i = 0; i < 8; ++i) out = out << 8 | (v >> (8 * i) & 0xFF);
    return out;
}

// Bits taken lowest first; reads past the end give zeros (the caller checks the position).
class BitReader {
public:
    BitReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint32_t peek(int n) const {
        const size_t byte = static_cast<size_t>(pos_ >> 3);
        uint64_t v = 0;
        if (byte + 8 <= size_) {
            std::memcpy(&v, data_ + byte, 8);
            if constexpr (std::endian::native == std::endian::big) v = byteSwapped(v);
        } else {
            for (size_t i = 0; byte + i < size_ && i < 8; ++i)
                v |= uint64_t{data_[byte + i]} << (8 * i);
        }
        return static_cast<uint32_t>((v >> (pos_ & 7)) & ((uint64_t{1} << n) - 1));
    }
    void skip(uint64_t n) { pos_ += n; }
    uint32_t take(int n) {
        const uint32_t v = peek(n);
        pos_ += static_cast<uint64_t>(n);
        return v;
    }
    void align() { pos_ = (pos_ + 7) & ~uint64_t{7}; }
    uint64_t position() const { return pos_; }
    bool overrun() const { return pos_ > uint64_t{size_} * 8; }

private:
    const uint8_t* data_;
    size_t size_;
    uint64_t pos_ = 0;
};

// A canonical Huffman code: short codes through a table, longer ones counted out bit by bit.
class Huffman {
public:
    static constexpr int kFastBits = 11;

    bool build(const uint8_t* lengths, int n) {
        count_.fill(0);
        fast_.fill(0);
        for (int s = 0; s < n; ++s) ++count_[lengths[s]];
        count_[0] = 0;
        int left = 1;
        for (int len = 1; len <= 15; ++len) {
            left = (left << 1) - count_[size_t(len)];
            if (left < 0) return false;  // over-subscribed
        }
        std::array<uint16_t, 16> offset{}, next{};
        uint32_t code = 0;
        for (int len = 1; len <= 15; ++len) {
            offset[size_t(len)] =
                static_cast<uint16_t>(offset[size_t(len - 1)] + count_[size_t(len - 1)]);
            code = (code + count_[size_t(len - 1)]) << 1;
            next[size_t(len)] = static_cast<uint16_t>(code);
        }
        offset[0] = 0;
        for (int s = 0; s < n; ++s) {
            const int len = lengths[s];
            if (len == 0) continue;
            symbol_[offset[size_t(len)]++] = static_cast<uint16_t>(s);
            const uint32_t c = next[size_t(len)]++;
            if (len > kFastBits) continue;
            uint32_t reversed = 0;
            for (int i = 0; i < len; ++i) reversed |= (c >> i & 1) << (len - 1 - i);
            for (uint32_t i = reversed; i < fast_.size(); i += 1u << len)
                fast_[i] = static_cast<uint16_t>(s << 4 | len);
        }
        return true;
    }

    // The next symbol, or −1 when no code matches.
    int decode(BitReader& in) const {
        const uint32_t bits = in.peek(15);
        const uint16_t entry = fast_[bits & (fast_.size() - 1)];
        if (entry != 0) {
            in.skip(entry & 15);
            return entry >> 4;
        }
        int code = 0, first = 0, index = 0;
        for (int len = 1; len <= 15; ++len) {
            code |= static_cast<int>(bits >> (len - 1) & 1);
            const int count = count_[size_t(len)];
            if (code < first + count) {
                in.skip(static_cast<uint64_t>(len));
                return symbol_[size_t(index + code - first)];
            }
            index += count;
            first = (first + count) << 1;
            code <<= 1;
        }
        return -1;
    }

private:
    std::array<uint16_t, 16> count_{};
    std::array<uint16_t, 1u << kFastBits> fast_{};
    std::array<uint16_t, 320> symbol_{};
};

constexpr std::array<uint8_t, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                  2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<uint8_t, 30> kDistanceExtra = {0, 0, 0,  0,  1,  1,  2,  2,  3,  3,
                                                    4, 4, 5,  5,  6,  6,  7,  7,  8,  8,
                                                    9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// Skips the codes of one compressed block up to its end code.
bool skipCodes(BitReader& in, const Huffman& lengths, const Huffman& distances) {
    for (;;) {
        if (in.overrun()) return false;
        const int symbol = lengths.decode(in);
        if (symbol < 0) return false;
        if (symbol < 256) continue;
        if (symbol == 256) return true;
        if (symbol > 285) return false;
        in.skip(kLengthExtra[size_t(symbol - 257)]);
        const int distance = distances.decode(in);
        if (distance < 0 || distance > 29) return false;
        in.skip(kDistanceExtra[size_t(distance)]);
    }
}

bool fixedCodes(Huffman& lengths, Huffman& distances) {
    std::array<uint8_t, 288> l{};
    std::fill(l.begin(), l.begin() + 144, 8);
    std::fill(l.begin() + 144, l.begin() + 256, 9);
    std::fill(l.begin() + 256, l.begin() + 280, 7);
    std::fill(l.begin() + 280, l.end(), 8);
    std::array<uint8_t, 30> d{};
    d.fill(5);
    return lengths.build(l.data(), 288) && distances.build(d.data(), 30);
}

bool dynamicCodes(BitReader& in, Huffman& lengths, Huffman& distances) {
    static constexpr std::array<uint8_t, 19> kOrder = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                       11, 4,  12, 3, 13, 2, 14, 1, 15};
    const int nlen = static_cast<int>(in.take(5)) + 257;
    const int ndist = static_cast<int>(in.take(5)) + 1;
    const int ncode = static_cast<int>(in.take(4)) + 4;
    if (nlen > 286 || ndist > 30) return false;
    std::array<uint8_t, 19> codeLengths{};
    for (int i = 0; i < ncode; ++i)
        codeLengths[kOrder[size_t(i)]] = static_cast<uint8_t>(in.take(3));
    Huffman code;
    if (!code.build(codeLengths.data(), 19)) return false;
    std::array<uint8_t, 286 + 30> l{};
    int at = 0;
    while (at < nlen + ndist) {
        if (in.overrun()) return false;
        const int symbol = code.decode(in);
        if (symbol < 0) return false;
        if (symbol < 16) {
            l[size_t(at++)] = static_cast<uint8_t>(symbol);
            continue;
        }
        uint8_t value = 0;
        int repeat = 0;
        if (symbol == 16) {
            if (at == 0) return false;
            value = l[size_t(at - 1)];
            repeat = 3 + static_cast<int>(in.take(2));
        } else if (symbol == 17) {
            repeat = 3 + static_cast<int>(in.take(3));
        } else {
            repeat = 11 + static_cast<int>(in.take(7));
        }
        if (at + repeat > nlen + ndist) return false;
        while (repeat-- > 0) l[size_t(at++)] = value;
    }
    if (l[256] == 0) return false;  // no end code
    return lengths.build(l.data(), nlen) && distances.build(l.data() + nlen, ndist);
}

// --- the PNG file ---------------------------------------------------------------------

void putU32(uint8_t* at, uint32_t v) {
    at[0] = static_cast<uint8_t>(v >> 24);
    at[1] = static_cast<uint8_t>(v >> 16);
    at[2] = static_cast<uint8_t>(v >> 8);
    at[3] = static_cast<uint8_t>(v);
}

// A chunk of `type` with `data` as its bytes: length, type, data, CRC.
std::vector<uint8_t> chunk(const char* type, const uint8_t* data, size_t size) {
    std::vector<uint8_t> out(12 + size);
    putU32(out.data(), static_cast<uint32_t>(size));
    std::memcpy(out.data() + 4, type, 4);
    if (size > 0) std::memcpy(out.data() + 8, data, size);
    putU32(out.data() + 8 + size, libdeflate_crc32(0, out.data() + 4, 4 + size));
    return out;
}

struct BandResult {
    std::vector<uint8_t> idat;  // the whole IDAT chunk
    uint32_t adler = 1;
    uint64_t rawSize = 0;
};

// One worker's buffers and compressor.
struct Worker {
    libdeflate_compressor* compressor = nullptr;
    std::vector<uint8_t> filtered, deflated, scratch;
    ~Worker() { libdeflate_free_compressor(compressor); }
};

class BandPipeline {
public:
    BandPipeline(int width, int height, const PngRowSource& rows, const PngOptions& options)
        : width_(width), height_(height), rows_(rows), level_(options.level) {
        bandRows_ = pngBandRows(width);
        bands_ = (height + bandRows_ - 1) / bandRows_;
        int threads = options.threads;
        if (threads <= 0)
            threads = static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
        threads_ = std::clamp(threads, 1, std::max(1, bands_));
        slots_.resize(size_t(2 * threads_));
        done_.assign(slots_.size(), false);
    }

    // Runs the workers and hands each band's chunk to `sink` in order.
    void run(const std::function<void(const BandResult&)>& sink) {
        std::vector<std::thread> pool;
        struct Joiner {
            BandPipeline& p;
            std::vector<std::thread>& pool;
            ~Joiner() {
                p.stop();
                for (std::thread& t : pool) t.join();
            }
        } joiner{*this, pool};
        for (int i = 0; i < threads_; ++i) pool.emplace_back([this] { work(); });
        for (int band = 0; band < bands_; ++band) {
            std::unique_lock lock(mutex_);
            const size_t slot = size_t(band) % slots_.size();
            bandDone_.wait(lock, [&] { return failure_ || done_[slot]; });
            if (failure_) std::rethrow_exception(failure_);
            lock.unlock();
            sink(slots_[slot]);
            lock.lock();
            done_[slot] = false;
            written_ = band + 1;
            slotFree_.notify_all();
        }
    }

private:
    void stop() {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        slotFree_.notify_all();
    }

    void work() {
        Worker w;
        try {
            w.compressor = libdeflate_alloc_compressor(level_);
            if (!w.compressor) throw std::bad_alloc();
            for (;;) {
                int band = 0;
                {
                    std::unique_lock lock(mutex_);
                    slotFree_.wait(lock, [&] {
                        return stopping_ || failure_ || next_ >= bands_ ||
                               next_ < written_ + static_cast<int>(slots_.size());
                    });
                    if (stopping_ || failure_ || next_ >= bands_) return;
                    band = next_++;
                }
                BandResult& result = slots_[size_t(band) % slots_.size()];
                makeBand(w, band, result);
                std::lock_guard lock(mutex_);
                done_[size_t(band) % slots_.size()] = true;
                bandDone_.notify_all();
            }
        } catch (...) {
            std::lock_guard lock(mutex_);
            if (!failure_) failure_ = std::current_exception();
            bandDone_.notify_all();
            slotFree_.notify_all();
        }
    }

    void makeBand(Worker& w, int band, BandResult& out) const {
        const int y0 = band * bandRows_, y1 = std::min(height_, y0 + bandRows_);
        // Filter type 0 (none): tiled art repeats along the row at the hex pitch, which the
        // matcher finds in the raw bytes; the Up and Paeth filters make both the file and the
        // time larger. The rows are drawn straight after their filter bytes.
        const size_t rowBytes = size_t(width_) * 3 + 1;
        w.filtered.resize(size_t(y1 - y0) * rowBytes);
        rows_(y0, y1, w.filtered.data() + 1, rowBytes, w.scratch);
        for (int y = y0; y < y1; ++y) w.filtered[size_t(y - y0) * rowBytes] = 0;
        out.rawSize = w.filtered.size();
        out.adler = libdeflate_adler32(1, w.filtered.data(), w.filtered.size());
        w.deflated.resize(libdeflate_deflate_compress_bound(w.compressor, w.filtered.size()));
        const size_t n =
            libdeflate_deflate_compress(w.compressor, w.filtered.data(), w.filtered.size(),
                                        w.deflated.data(), w.deflated.size());
        w.deflated.resize(n);
        if (n == 0 || (band + 1 < bands_ && !makeDeflateContinue(w.deflated)))
            throw std::runtime_error("deflate stream not understood");
        if (band == 0) w.deflated.insert(w.deflated.begin(), {0x78, 0x01});  // zlib, 32K window
        out.idat = chunk("IDAT", w.deflated.data(), w.deflated.size());
    }

    int width_, height_;
    const PngRowSource& rows_;
    int level_;
    int bandRows_ = 0, bands_ = 0, threads_ = 1;

    std::mutex mutex_;
    std::condition_variable bandDone_, slotFree_;
    std::vector<BandResult> slots_;
    std::vector<bool> done_;
    int next_ = 0, written_ = 0;
    bool stopping_ = false;
    std::exception_ptr failure_;
};

}  // namespace

DeflateEnd findDeflateEnd(const uint8_t* data, size_t size) {
    BitReader in(data, size);
    Huffman lengths, distances;
    for (;;) {
        const uint64_t header = in.position();
        const bool final = in.take(1) != 0;
        const uint32_t type = in.take(2);
        if (type == 0) {
            in.align();
            const uint32_t len = in.take(16), nlen = in.take(16);
            if ((len ^ 0xFFFF) != nlen) return {};
            in.skip(uint64_t{len} * 8);
        } else if (type == 1 || type == 2) {
            const bool ok =
                type == 1 ? fixedCodes(lengths, distances) : dynamicCodes(in, lengths, distances);
            if (!ok || !skipCodes(in, lengths, distances)) return {};
        } else {
            return {};
        }
        if (in.overrun()) return {};
        if (final) return {true, header, in.position()};
    }
}

bool makeDeflateContinue(std::vector<uint8_t>& stream) {
    const DeflateEnd end = findDeflateEnd(stream.data(), stream.size());
    if (!end.found) return false;
    stream[size_t(end.finalHeaderBit >> 3)] &=
        static_cast<uint8_t>(~(1u << (end.finalHeaderBit & 7)));
    stream.resize(size_t((end.endBit + 7) >> 3));
    if (end.endBit & 7) stream.back() &= static_cast<uint8_t>((1u << (end.endBit & 7)) - 1);
    // An empty stored block: three zero header bits, then on the byte boundary LEN 0 and
    // NLEN 0xFFFF.
    stream.resize(size_t((end.endBit + 3 + 7) >> 3), 0);
    stream.insert(stream.end(), {0x00, 0x00, 0xFF, 0xFF});
    return true;
}

uint32_t adler32Combine(uint32_t first, uint32_t second, uint64_t secondLength) {
    constexpr uint32_t kBase = 65521;
    const uint32_t rem = static_cast<uint32_t>(secondLength % kBase);
    uint32_t sum1 = first & 0xFFFF;
    uint32_t sum2 = static_cast<uint32_t>(uint64_t{rem} * sum1 % kBase);
    sum1 += (second & 0xFFFF) + kBase - 1;
    sum2 += (first >> 16 & 0xFFFF) + (second >> 16 & 0xFFFF) + kBase - rem;
    if (sum1 >= kBase) sum1 -= kBase;
    if (sum1 >= kBase) sum1 -= kBase;
    if (sum2 >= kBase * 2) sum2 -= kBase * 2;
    if (sum2 >= kBase) sum2 -= kBase;
    return sum1 | sum2 << 16;
}

int pngBandRows(int width) {
    // About 2 MB of picture a band: large enough to compress well and to keep the hexes cut
    // between bands few, small enough that a few bands in flight cost little memory.
    const size_t rowBytes = size_t(std::max(width, 1)) * 3 + 1;
    return static_cast<int>(std::clamp<size_t>((size_t{2} << 20) / rowBytes, 16, 1024));
}

void writePng(int width, int height, const PngRowSource& rows, const PngSink& sink,
              const PngOptions& options) {
    if (width <= 0 || height <= 0) throw std::invalid_argument("a PNG needs pixels");
    static constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    sink(kSignature, sizeof kSignature);
    uint8_t header[13] = {};
    putU32(header, static_cast<uint32_t>(width));
    putU32(header + 4, static_cast<uint32_t>(height));
    header[8] = 8;  // bits per sample
    header[9] = 2;  // RGB
    const std::vector<uint8_t> ihdr = chunk("IHDR", header, sizeof header);
    sink(ihdr.data(), ihdr.size());

    PngOptions o = options;
    o.level = std::clamp(o.level, kMinPngLevel, kMaxPngLevel);
    BandPipeline pipeline(width, height, rows, o);
    uint32_t adler = 1;
    pipeline.run([&](const BandResult& band) {
        sink(band.idat.data(), band.idat.size());
        adler = adler32Combine(adler, band.adler, band.rawSize);
    });
    uint8_t trailer[4];
    putU32(trailer, adler);
    const std::vector<uint8_t> last = chunk("IDAT", trailer, sizeof trailer);
    sink(last.data(), last.size());
    const std::vector<uint8_t> end = chunk("IEND", nullptr, 0);
    sink(end.data(), end.size());
}

}  // namespace kv
