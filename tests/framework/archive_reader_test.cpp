// FLINK archives: run-length decoding of bytes and words, both directory formats, unknown
// magic, and entries whose offsets, sizes or blocks reach outside the archive.
#include "framework/archive_reader.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "support/bitmap_fixture.h"

namespace kv {
namespace {

using kvtest::makeVersion1;
using kvtest::makeVersion2;

std::span<const uint8_t> bytesOf(const std::string& s) {
    return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

std::string decode(const std::string& in, int method) {
    const size_t n = decodeRunLength(bytesOf(in), method, nullptr, 0);
    std::string out(n, '\0');
    EXPECT_EQ(decodeRunLength(bytesOf(in), method, reinterpret_cast<uint8_t*>(out.data()), n), n);
    return out;
}

std::string words(std::initializer_list<uint16_t> values) {
    std::string s;
    kvtest::Appender out(s);
    for (uint16_t v : values) out.u16(v);
    return s;
}

std::string entryOf(const std::string& archive, int index) {
    ArchiveReader reader;
    reader.openMemory(bytesOf(archive));
    const uint8_t* data = bytesOf(archive).data();  // must be reset
    const size_t n = reader.entry(index, data);
    EXPECT_EQ(n == 0, data == nullptr);
    return n ? std::string(reinterpret_cast<const char*>(data), n) : std::string();
}

TEST(RunLength, PairsIntroduceTheCountOfTheWholeRun) {
    const std::pair<std::string, std::string> cases[] = {
        {"AA\x03"
         "B",
         "AAAB"},
        {std::string("AA\0B", 4), "AB"},
        {"AA\x01"
         "B",
         "AB"},
        // After the count a literal starts afresh, even one equal to the run.
        {"AA\x02"
         "AA\x03",
         "AAAAA"},
        {"AA\x02"
         "A\x05",
         "AAA\x05"},
        {"BAA", "BA"},  // a pair without its count ends the data
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(decode(in, RunLengthBytes), out) << in;
}

TEST(RunLength, WordsCompareAndCountWholeWords) {
    EXPECT_EQ(decode(words({0x4141, 0x4141, 3, 0x4242}), RunLengthWords),
              words({0x4141, 0x4141, 0x4141, 0x4242}));
    EXPECT_EQ(decode(words({0x4141, 0x4141, 0, 0x4242}), RunLengthWords), words({0x4141, 0x4242}));
    EXPECT_EQ(decode(words({0x4141, 0x4141, 1, 0x4242}), RunLengthWords), words({0x4141, 0x4242}));
    EXPECT_EQ(decode(words({0x0141, 0x0241}), RunLengthWords), words({0x0141, 0x0241}));
    EXPECT_EQ(decode(words({7, 7, 300}), RunLengthWords).size(), 600u);
    EXPECT_EQ(decode(words({9, 9, 2}) + "x", RunLengthWords), words({9, 9}));  // odd byte
}

TEST(RunLength, OutputStopsAtItsCapacityWhileTheLengthIsStillCounted) {
    std::string out(6, '#');
    EXPECT_EQ(decodeRunLength(bytesOf("AA\xFF"), RunLengthBytes,
                              reinterpret_cast<uint8_t*>(out.data()), 4),
              255u);
    EXPECT_EQ(out, "AAAA##");
}

TEST(RunLength, EncodedRandomDataDecodesBack) {
    std::mt19937 rng(7);
    for (int unit : {1, 2}) {
        for (int round = 0; round < 50; ++round) {
            std::string data;
            for (int r = static_cast<int>(rng() % 40); r >= 0; --r) {
                std::string u(unit, '\0');
                for (char& c : u) c = static_cast<char>(rng() % 3);  // few values: many runs
                const size_t length = rng() % 4 == 0 ? 1 + rng() % 400 : 1 + rng() % 3;
                for (size_t k = 0; k < length; ++k) data += u;
            }
            EXPECT_EQ(decode(kvtest::encodeRunLength(data, unit), unit - 1), data) << round;
        }
    }
}

TEST(ArchiveVersion1, EntriesDecodeByTheirMethodUpToTheirDecodedSize) {
    const std::string archive = makeVersion1({
        {RunLengthBytes, 4,
         "AA\x03"
         "B"},
        {RunLengthWords, 8, words({5, 5, 3, 6})},
        {7, 3, "xyz"},
        {RunLengthBytes, 2, "AA\x05"},           // a smaller size cuts the data
        {RunLengthBytes, 0xFFFFFFFF, "AA\x05"},  // a larger one invents nothing
    });
    EXPECT_EQ(entryOf(archive, 0), "AAAB");
    EXPECT_EQ(entryOf(archive, 1), words({5, 5, 5, 6}));
    EXPECT_EQ(entryOf(archive, 2), "xyz");
    EXPECT_EQ(entryOf(archive, 3), "AA");
    EXPECT_EQ(entryOf(archive, 4), "AAAAA");
}

TEST(ArchiveVersion1, EntriesOutsideTheFileAreRefused) {
    const std::string archive = makeVersion1({{7, 4, "data"}, {7, 4, "more"}});
    EXPECT_EQ(entryOf(archive, 2), "");  // its directory entry is past the end
    EXPECT_EQ(entryOf(archive, -1), "");
    EXPECT_EQ(entryOf(archive, 1 << 28), "");
    std::string badOffset = archive;
    badOffset[20 + 15] = '\x10';
    EXPECT_EQ(entryOf(badOffset, 0), "");
    std::string badSize = archive;
    badSize[20 + 8] = static_cast<char>(archive.size());  // offset + size past the end
    EXPECT_EQ(entryOf(badSize, 0), "");
    EXPECT_EQ(entryOf(badSize, 1), "more");
}

TEST(ArchiveVersion2, BlocksConcatenateWithinTheirEntry) {
    EXPECT_EQ(entryOf(makeVersion2({{{9, "abc"}, {200, "de"}, {2, "f"}}}), 0), "abcdef");
    const std::string mixed = makeVersion2({
        {{RunLengthBytes, "xx\x04"}, {5, "--"}, {RunLengthWords, words({1, 1, 2})}},
        {{5, "second"}},
    });
    EXPECT_EQ(entryOf(mixed, 0), "xxxx--" + words({1, 1}));
    EXPECT_EQ(entryOf(mixed, 1), "second");
    EXPECT_EQ(entryOf(mixed, 2), "");  // no end offset for it
}

TEST(ArchiveVersion2, BrokenBlocksAndOffsetsAreRefused) {
    const std::string archive = makeVersion2({{{5, "abcd"}}, {{5, "efgh"}}});
    const size_t first = static_cast<uint8_t>(archive[16]);
    auto withByte = [&](size_t at, int v) {
        std::string s = archive;
        s[at] = static_cast<char>(v);
        return s;
    };
    EXPECT_EQ(entryOf(withByte(first, 5), 0), "");  // block longer than its entry
    EXPECT_EQ(entryOf(withByte(first, 5), 1), "efgh");
    EXPECT_EQ(entryOf(withByte(20, first - 1), 0), "");  // ends before it starts
    EXPECT_EQ(entryOf(withByte(20, first + 2), 0), "");  // ends inside a block header
    EXPECT_EQ(entryOf(withByte(24 + 2, 1), 1), "");      // ends past the file
}

TEST(ArchiveMagic, OnlyTheTwoNulTerminatedMagicsAreKnown) {
    std::string archive = makeVersion2({{{5, "ok"}}});
    archive[14] = 'Z';  // after the terminator
    EXPECT_EQ(entryOf(archive, 0), "ok");
    archive[13] = '0';  // "FLINK2 ver.000"
    ArchiveReader reader;
    reader.openMemory(bytesOf(archive));
    EXPECT_EQ(reader.format(), ArchiveReader::Unknown);
    const uint8_t* data = nullptr;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(reader.entry(i, data), 0u);
    std::string v1 = makeVersion1({{7, 4, "data"}});
    EXPECT_EQ(entryOf(v1, 0), "data");
    v1[6] = 'v';  // "FLINK ver1.00"
    EXPECT_EQ(entryOf(v1, 0), "");
}

}  // namespace
}  // namespace kv
