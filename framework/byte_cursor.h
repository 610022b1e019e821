// Little-endian byte reading and writing shared by every binary format: a bounds-checked
// reader cursor that records a shortfall instead of reading past its end, and an appender.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// Little-endian values at a fixed place of a buffer the caller has already sized.
inline uint16_t loadU16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}
inline uint32_t loadU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}
inline void storeU16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
inline void storeU32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
// The same over the chars of a std::string, the form whole files are read and written in.
inline uint16_t loadU16(const char* p) {
    return loadU16(reinterpret_cast<const uint8_t*>(p));
}
inline uint32_t loadU32(const char* p) {
    return loadU32(reinterpret_cast<const uint8_t*>(p));
}
inline void storeU16(char* p, uint16_t v) {
    storeU16(reinterpret_cast<uint8_t*>(p), v);
}
inline void storeU32(char* p, uint32_t v) {
    storeU32(reinterpret_cast<uint8_t*>(p), v);
}

// Reads a byte range front to back. Positions are 64-bit, so no offset taken from a file can
// wrap. A read that runs past the end yields zeros for the missing bytes and records the
// shortfall; the caller decides whether a short read is fatal.
class ByteReader {
public:
    ByteReader() = default;
    ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    explicit ByteReader(std::span<const uint8_t> bytes) : ByteReader(bytes.data(), bytes.size()) {}
    explicit ByteReader(std::string_view bytes)
        : ByteReader(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()) {}

    uint64_t size() const { return size_; }
    uint64_t position() const { return pos_; }
    uint64_t remaining() const { return pos_ < size_ ? size_ - pos_ : 0; }
    bool atEnd() const { return pos_ >= size_; }
    // True once any read asked for bytes beyond the end; `missing` counts them.
    bool shortfall() const { return missing_ != 0; }
    uint64_t missing() const { return missing_; }
    void clearShortfall() { missing_ = 0; }

    // Moves to an absolute position; a position past the end is allowed (reads then fall
    // short) but is itself no shortfall.
    void seek(uint64_t position) { pos_ = position; }
    void skip(uint64_t count) { pos_ = pos_ + count < pos_ ? UINT64_MAX : pos_ + count; }
    // True when [offset, offset + length) lies within the bytes, computed without wrapping.
    bool contains(uint64_t offset, uint64_t length) const {
        return offset <= size_ && length <= size_ - offset;
    }

    uint8_t u8() {
        uint8_t v = 0;
        read(&v, 1);
        return v;
    }
    uint16_t u16() {
        uint8_t b[2];
        read(b, 2);
        return loadU16(b);
    }
    uint32_t u32() {
        uint8_t b[4];
        read(b, 4);
        return loadU32(b);
    }
    int16_t i16() { return static_cast<int16_t>(u16()); }
    int32_t i32() { return static_cast<int32_t>(u32()); }

    // Copies `count` bytes; bytes beyond the end are zero. Returns how many were present.
    size_t read(void* out, size_t count) {
        const uint64_t have = remaining() < count ? remaining() : count;
        if (have) std::memcpy(out, data_ + pos_, static_cast<size_t>(have));
        if (have < count) {
            std::memset(static_cast<uint8_t*>(out) + have, 0, count - static_cast<size_t>(have));
            missing_ += count - have;
        }
        skip(count);
        return static_cast<size_t>(have);
    }
    // The next `count` bytes as a view, or an empty view (and a shortfall) when they are not
    // all there; the position moves on either way.
    std::span<const uint8_t> view(size_t count) {
        if (count == 0 || remaining() < count) {
            missing_ += count - std::min<uint64_t>(remaining(), count);
            skip(count);
            return {};
        }
        std::span<const uint8_t> out(data_ + pos_, count);
        skip(count);
        return out;
    }
    // A fixed-width text field up to its first NUL.
    std::string text(size_t width) {
        std::string field(width, '\0');
        read(field.data(), width);
        field.resize(std::strlen(field.c_str()));
        return field;
    }

private:
    const uint8_t* data_ = nullptr;
    uint64_t size_ = 0;
    uint64_t pos_ = 0;
    uint64_t missing_ = 0;
};

// Builds a byte image front to back in a std::vector<uint8_t> or a std::string; earlier
// fields can be patched once later sizes are known.
template <class Bytes = std::vector<uint8_t>>
class ByteAppender {
    using Unit = typename Bytes::value_type;
    static_assert(sizeof(Unit) == 1);

public:
    ByteAppender() = default;
    explicit ByteAppender(Bytes& out) : out_(&out) {}
    ByteAppender(const ByteAppender&) = delete;
    ByteAppender& operator=(const ByteAppender&) = delete;

    Bytes& bytes() { return *out_; }
    const Bytes& bytes() const { return *out_; }
    uint64_t size() const { return out_->size(); }

    void u8(uint8_t v) { out_->push_back(static_cast<Unit>(v)); }
    void u16(uint16_t v) {
        u8(static_cast<uint8_t>(v));
        u8(static_cast<uint8_t>(v >> 8));
    }
    void u32(uint32_t v) {
        for (int i = 0; i < 4; ++i) u8(static_cast<uint8_t>(v >> (8 * i)));
    }
    void i16(int16_t v) { u16(static_cast<uint16_t>(v)); }
    void i32(int32_t v) { u32(static_cast<uint32_t>(v)); }
    void bytes(const void* data, size_t count) {
        const auto* p = static_cast<const Unit*>(data);
        out_->insert(out_->end(), p, p + count);
    }
    void bytes(std::span<const uint8_t> data) { bytes(data.data(), data.size()); }
    void bytes(std::string_view data) { bytes(data.data(), data.size()); }
    void zeros(size_t count) { out_->resize(out_->size() + count, Unit{0}); }
    // A text in a fixed-width field, cut to the width and zero-filled.
    void text(std::string_view s, size_t width) {
        const size_t n = s.size() < width ? s.size() : width;
        bytes(s.data(), n);
        zeros(width - n);
    }
    // Overwrites a value written earlier; the place must already exist.
    void patchU16(uint64_t at, uint16_t v) { storeU16(place(at, 2), v); }
    void patchU32(uint64_t at, uint32_t v) { storeU32(place(at, 4), v); }

private:
    uint8_t* place(uint64_t at, uint64_t width) {
        if (at > out_->size() || width > out_->size() - at)
            throw std::out_of_range("ByteAppender: patch outside the written bytes");
        return reinterpret_cast<uint8_t*>(out_->data()) + at;
    }
    Bytes own_;
    Bytes* out_ = &own_;
};

}  // namespace kv
