// Fixed-size byte records and the little-endian field access their named accessors share.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "framework/byte_cursor.h"
#include "framework/cp932.h"

namespace kv {

// A stored record whose fields do not all sit at their natural alignment: the bytes exactly
// as the file holds them, read and written at fixed offsets by the derived record's accessors.
template <size_t N>
class ByteRecord {
public:
    static constexpr size_t kSize = N;

    std::array<uint8_t, N> bytes{};

    uint8_t* data() { return bytes.data(); }
    const uint8_t* data() const { return bytes.data(); }
    static constexpr size_t size() { return N; }
    void clear() { bytes.fill(0); }
    bool operator==(const ByteRecord& other) const { return bytes == other.bytes; }

protected:
    uint8_t u8(size_t o) const { return bytes[o]; }
    void setU8(size_t o, uint8_t v) { bytes[o] = v; }
    uint16_t u16(size_t o) const { return loadU16(&bytes[o]); }
    void setU16(size_t o, uint16_t v) { storeU16(&bytes[o], v); }
    uint32_t u32(size_t o) const { return loadU32(&bytes[o]); }
    void setU32(size_t o, uint32_t v) { storeU32(&bytes[o], v); }
    int32_t i32(size_t o) const { return static_cast<int32_t>(u32(o)); }
    void setI32(size_t o, int32_t v) { setU32(o, static_cast<uint32_t>(v)); }
    // The CP932 text of a NUL-terminated field of `width` bytes, up to its NUL.
    std::string text(size_t o, size_t width) const {
        const void* nul = std::memchr(&bytes[o], 0, width);
        size_t len =
            nul ? static_cast<size_t>(static_cast<const uint8_t*>(nul) - &bytes[o]) : width;
        return std::string(reinterpret_cast<const char*>(&bytes[o]), len);
    }
    // Stores CP932 text cut at a character boundary so that a NUL still fits; the rest of the
    // field is zeroed.
    void setText(size_t o, size_t width, std::string_view cp932);
};

template <size_t N>
void ByteRecord<N>::setText(size_t o, size_t width, std::string_view cp932) {
    const std::string cut = cutToBytes(cp932, width - 1);
    std::memset(&bytes[o], 0, width);
    std::memcpy(&bytes[o], cut.data(), cut.size());
}

}  // namespace kv
