// FLINK archives: run-length decoding of bytes and words, both directory formats, unknown
// magic, and entries whose offsets, sizes or blocks reach outside the archive.
#include "framework/archive_reader.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "framework/errors.h"
#include "support/bitmap_fixture.h"
#include "support/test_paths.h"

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
    for (uint16_t v : values) kvtest::put16(s, v);
    return s;
}

std::string entryOf(ArchiveReader& reader, int index) {
    const uint8_t* data = reinterpret_cast<const uint8_t*>(1);  // must be reset
    const size_t n = reader.entry(index, data);
    if (n == 0) {
        EXPECT_EQ(data, nullptr);
        return {};
    }
    return std::string(reinterpret_cast<const char*>(data), n);
}

std::string memoryEntry(const std::string& archive, int index) {
    ArchiveReader reader;
    reader.openMemory(bytesOf(archive));
    return entryOf(reader, index);
}

TEST(RunLength, BytePairsIntroduceACountOfTheWholeRun) {
    EXPECT_EQ(decode("AA\x03"
                     "B",
                     RunLengthBytes),
              "AAAB");
    EXPECT_EQ(decode(std::string("AA\0B", 4), RunLengthBytes), "AB");
    EXPECT_EQ(decode("AA\x01"
                     "B",
                     RunLengthBytes),
              "AB");
    EXPECT_EQ(decode("ABC", RunLengthBytes), "ABC");
    EXPECT_EQ(decode("", RunLengthBytes), "");
}

TEST(RunLength, ALiteralAfterARunStartsAfresh) {
    // After the count, the next unit is a literal even when it equals the run's unit, and
    // a count never pairs with the unit after it.
    EXPECT_EQ(decode("AA\x02"
                     "AA\x03",
                     RunLengthBytes),
              "AAAAA");
    EXPECT_EQ(decode("AA\x02"
                     "A\x05",
                     RunLengthBytes),
              "AAA\x05");
    EXPECT_EQ(decode("\x03\x03\x03\x03", RunLengthBytes), "\x03\x03\x03\x03");
}

TEST(RunLength, APairWithoutItsCountEndsTheData) {
    EXPECT_EQ(decode("BAA", RunLengthBytes), "BA");
}

TEST(RunLength, WordsCompareWholeWordsAndCountInWords) {
    EXPECT_EQ(decode(words({0x4141, 0x4141, 3, 0x4242}), RunLengthWords),
              words({0x4141, 0x4141, 0x4141, 0x4242}));
    EXPECT_EQ(decode(words({0x4141, 0x4141, 0, 0x4242}), RunLengthWords), words({0x4141, 0x4242}));
    EXPECT_EQ(decode(words({0x4141, 0x4141, 1, 0x4242}), RunLengthWords), words({0x4141, 0x4242}));
    // Equal low bytes are not equal words.
    EXPECT_EQ(decode(words({0x0141, 0x0241, 0x0341}), RunLengthWords),
              words({0x0141, 0x0241, 0x0341}));
    // A count uses all sixteen bits.
    EXPECT_EQ(decode(words({7, 7, 300}), RunLengthWords).size(), 600u);
}

TEST(RunLength, OddTrailingByteOfWordInputIsIgnored) {
    EXPECT_EQ(decode(words({9, 9, 2}) + "x", RunLengthWords), words({9, 9}));
}

TEST(RunLength, OutputStopsAtItsCapacityWhileTheLengthIsStillCounted) {
    std::string out(6, '#');
    const size_t n = decodeRunLength(bytesOf("AA\xFF"), RunLengthBytes,
                                     reinterpret_cast<uint8_t*>(out.data()), 4);
    EXPECT_EQ(n, 255u);
    EXPECT_EQ(out, "AAAA##");
}

TEST(RunLength, EncodedRandomDataDecodesBack) {
    std::mt19937 rng(7);
    for (int unit : {1, 2}) {
        for (int round = 0; round < 50; ++round) {
            std::string data;
            const int runs = 1 + static_cast<int>(rng() % 40);
            for (int r = 0; r < runs; ++r) {
                std::string u(unit, '\0');
                for (char& c : u) c = static_cast<char>(rng() % 3);  // few values: many runs
                const size_t length = rng() % 4 == 0 ? 1 + rng() % 400 : 1 + rng() % 3;
                for (size_t k = 0; k < length; ++k) data += u;
            }
            const std::string coded = kvtest::encodeRunLength(data, unit);
            EXPECT_EQ(decode(coded, unit == 1 ? RunLengthBytes : RunLengthWords), data)
                << "unit " << unit << " round " << round;
        }
    }
}

TEST(ArchiveVersion1, EntriesDecodeByTheirMethod) {
    const std::string archive = makeVersion1({
        {RunLengthBytes, 4,
         "AA\x03"
         "B"},
        {RunLengthWords, 8, words({5, 5, 3, 6})},
        {7, 3, "xyz"},
    });
    ArchiveReader reader;
    reader.openMemory(bytesOf(archive));
    EXPECT_EQ(reader.format(), ArchiveReader::Version1);
    EXPECT_EQ(entryOf(reader, 0), "AAAB");
    EXPECT_EQ(entryOf(reader, 1), words({5, 5, 5, 6}));
    EXPECT_EQ(entryOf(reader, 2), "xyz");
}

TEST(ArchiveVersion1, DirectorySizesNeverReachPastTheDecodedData) {
    // A smaller stated size cuts the data; a larger one is not padded with invented bytes.
    EXPECT_EQ(memoryEntry(makeVersion1({{RunLengthBytes, 2, "AA\x05"}}), 0), "AA");
    EXPECT_EQ(memoryEntry(makeVersion1({{RunLengthBytes, 0xFFFFFFFF, "AA\x05"}}), 0), "AAAAA");
}

TEST(ArchiveVersion1, EntriesOutsideTheFileAreRefused) {
    std::string archive = makeVersion1({{7, 4, "data"}, {7, 4, "more"}});
    EXPECT_EQ(memoryEntry(archive, 2), "");  // directory entry past the end
    EXPECT_EQ(memoryEntry(archive, -1), "");
    EXPECT_EQ(memoryEntry(archive, 1 << 28), "");
    std::string badOffset = archive;
    badOffset[20 + 12 + 3] = '\x10';  // offset far past the end
    EXPECT_EQ(memoryEntry(badOffset, 0), "");
    std::string badSize = archive;
    badSize[20 + 8] = static_cast<char>(archive.size());  // offset + size past the end
    EXPECT_EQ(memoryEntry(badSize, 0), "");
    EXPECT_EQ(memoryEntry(badSize, 1), "more");
}

TEST(ArchiveVersion2, StoredBlocksOnlyConcatenate) {
    const std::string archive = makeVersion2({{{9, "abc"}, {200, "de"}, {2, "f"}}});
    EXPECT_EQ(memoryEntry(archive, 0), "abcdef");
}

TEST(ArchiveVersion2, MixedBlocksAndEntriesFollowTheirOffsets) {
    const std::string archive = makeVersion2({
        {{RunLengthBytes, "xx\x04"}, {5, "--"}, {RunLengthWords, words({1, 1, 2})}},
        {{5, "second"}},
    });
    EXPECT_EQ(memoryEntry(archive, 0), "xxxx--" + words({1, 1}));
    EXPECT_EQ(memoryEntry(archive, 1), "second");
    EXPECT_EQ(memoryEntry(archive, 2), "");  // no end offset for it
}

TEST(ArchiveVersion2, BrokenBlocksAndOffsetsAreRefused) {
    const std::string archive = makeVersion2({{{5, "abcd"}}, {{5, "efgh"}}});
    const size_t dir = 16;
    auto withByte = [&](size_t at, char v) {
        std::string s = archive;
        s[at] = v;
        return s;
    };
    // Block length running past the entry's end.
    const size_t firstBlock = static_cast<uint8_t>(archive[dir]);
    EXPECT_EQ(memoryEntry(withByte(firstBlock, 5), 0), "");
    EXPECT_EQ(memoryEntry(withByte(firstBlock, 5), 1), "efgh");
    // Start after end, end past the file.
    EXPECT_EQ(memoryEntry(withByte(dir + 4, static_cast<char>(firstBlock - 1)), 0), "");
    EXPECT_EQ(memoryEntry(withByte(dir + 8 + 2, 1), 1), "");
    // An entry ending inside a block header.
    EXPECT_EQ(memoryEntry(withByte(dir + 4, static_cast<char>(firstBlock + 2)), 0), "");
}

TEST(ArchiveMagic, UnknownMagicGivesSizeZeroForEveryEntry) {
    std::string archive = makeVersion1({{7, 4, "data"}});
    archive[6] = 'v';  // "FLINK ver1.00"
    ArchiveReader reader;
    reader.openMemory(bytesOf(archive));
    EXPECT_EQ(reader.format(), ArchiveReader::Unknown);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(entryOf(reader, i), "");
    reader.openMemory(bytesOf(std::string("FLINK")));
    EXPECT_EQ(reader.format(), ArchiveReader::Unknown);
}

TEST(ArchiveMagic, ComparedAsANulTerminatedString) {
    std::string archive = makeVersion2({{{5, "ok"}}});
    archive[14] = 'Z';  // after the terminator
    EXPECT_EQ(memoryEntry(archive, 0), "ok");
    archive[13] = '0';  // "FLINK2 ver.000": another string
    ArchiveReader reader;
    reader.openMemory(bytesOf(archive));
    EXPECT_EQ(reader.format(), ArchiveReader::Unknown);
}

TEST(ArchiveFiles, FileArchivesReadLikeMemoryImages) {
    kvtest::TempDir dir;
    const std::string path = dir.file("pictures.dat");
    kvtest::writeFile(path, makeVersion2({{{RunLengthBytes, "zz\x03"}}, {{1, words({4, 4, 2})}}}));
    ArchiveReader reader;
    reader.open(path);
    EXPECT_EQ(reader.format(), ArchiveReader::Version2);
    EXPECT_EQ(entryOf(reader, 1), words({4, 4}));
    EXPECT_EQ(entryOf(reader, 0), "zzz");
}

TEST(ArchiveFiles, MissingFileThrowsOpenErrorWithItsPath) {
    ArchiveReader reader;
    try {
        reader.open("/nonexistent/pictures.dat");
        ADD_FAILURE() << "no error";
    } catch (const swCFileError& e) {
        EXPECT_EQ(e.code, swCFileError::Open);
        EXPECT_EQ(e.caption, "/nonexistent/pictures.dat");
    }
}

}  // namespace
}  // namespace kv
