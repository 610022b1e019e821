// The shared byte cursor: values round-trip, and no read ever leaves the buffer.
#include "framework/byte_cursor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace kv {
namespace {

// Files are built in byte vectors and in strings alike; both come out the same.
template <class Bytes>
Bytes appendEveryKind() {
    Bytes out;
    ByteAppender w(out);
    w.u8(0xAB);
    w.u16(0x1234);
    w.u32(0xDEADBEEF);
    w.i32(-2);
    w.text("abcdef", 4);
    w.text("ab", 4);
    w.zeros(3);
    w.patchU16(1, 0xCAFE);
    EXPECT_THROW(w.patchU32(out.size() - 2, 1), std::out_of_range);
    return out;
}

TEST(ByteCursor, AppendedValuesReadBackAndPatch) {
    const std::vector<uint8_t> out = appendEveryKind<std::vector<uint8_t>>();
    const std::string text = appendEveryKind<std::string>();
    ASSERT_EQ(out.size(), 1u + 2 + 4 + 4 + 4 + 4 + 3);
    EXPECT_TRUE(std::equal(out.begin(), out.end(), text.begin(), text.end(),
                           [](uint8_t a, char b) { return a == static_cast<uint8_t>(b); }));
    EXPECT_EQ(out[1], 0xFE);
    EXPECT_EQ(out[2], 0xCA);
    EXPECT_EQ(loadU32(text.data() + 3), 0xDEADBEEFu);
    EXPECT_EQ(loadU16(text.data() + 1), 0xCAFE);

    ByteReader r(text);
    EXPECT_EQ(r.u8(), 0xAB);
    EXPECT_EQ(r.u16(), 0xCAFE);
    EXPECT_EQ(r.u32(), 0xDEADBEEFu);
    EXPECT_EQ(r.i32(), -2);
    EXPECT_EQ(r.text(4), "abcd");
    EXPECT_EQ(r.text(4), "ab");
    r.skip(3);
    EXPECT_TRUE(r.atEnd());
    EXPECT_FALSE(r.shortfall());

    std::string fixed(6, '\0');
    storeU16(&fixed[0], 0xBEEF);
    storeU32(&fixed[2], 0x01020304);
    EXPECT_EQ(fixed, std::string("\xEF\xBE\x04\x03\x02\x01", 6));
}

// Whatever sequence of reads and seeks a hostile file provokes, the cursor stays inside its
// bytes, fills what is missing with zeros and counts exactly the bytes that were not there.
TEST(ByteCursor, RandomReadsNeverLeaveTheBufferAndCountTheShortfall) {
    std::mt19937 rng(7);
    for (int round = 0; round < 200; ++round) {
        std::vector<uint8_t> data(rng() % 64);
        for (auto& b : data) b = static_cast<uint8_t>(rng());
        ByteReader r(data.data(), data.size());
        uint64_t expectMissing = 0;
        for (int step = 0; step < 20; ++step) {
            const uint64_t pos = r.position();
            const uint64_t have = pos < data.size() ? data.size() - pos : 0;
            switch (rng() % 5) {
                case 0: {
                    const uint32_t v = r.u32();
                    uint32_t expect = 0;
                    for (uint64_t i = 0; i < 4 && i < have; ++i)
                        expect |= static_cast<uint32_t>(data[pos + i]) << (8 * i);
                    EXPECT_EQ(v, expect);
                    expectMissing += have < 4 ? 4 - have : 0;
                    break;
                }
                case 1: {
                    std::vector<uint8_t> buf(rng() % 16, 0xFF);
                    const size_t got = r.read(buf.data(), buf.size());
                    EXPECT_EQ(got, std::min<uint64_t>(have, buf.size()));
                    for (size_t i = got; i < buf.size(); ++i) EXPECT_EQ(buf[i], 0);
                    expectMissing += buf.size() - got;
                    break;
                }
                case 2: {
                    const size_t n = rng() % 16;
                    const auto v = r.view(n);
                    if (have >= n) {
                        EXPECT_EQ(v.size(), n);
                    } else {
                        EXPECT_TRUE(v.empty());
                        expectMissing += n - have;
                    }
                    break;
                }
                case 3: r.seek(rng() % 80); break;
                case 4: r.seek(UINT64_MAX - rng() % 3); break;
            }
            EXPECT_EQ(r.missing(), expectMissing);
        }
    }
    ByteReader r(nullptr, 10);
    EXPECT_TRUE(r.contains(10, 0));
    EXPECT_FALSE(r.contains(UINT64_MAX, 2));
    EXPECT_FALSE(r.contains(4, UINT64_MAX - 2));
}

}  // namespace
}  // namespace kv
