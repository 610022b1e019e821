// CP932 conversion, cutting and trimming of Shift-JIS field text.
#include "framework/cp932.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

using namespace std::string_literals;

TEST(Cp932LeadByte, RangesAndTheirEdges) {
    EXPECT_FALSE(isLeadByte(0x7F));
    EXPECT_FALSE(isLeadByte(0x80));
    EXPECT_TRUE(isLeadByte(0x81));
    EXPECT_TRUE(isLeadByte(0x9F));
    EXPECT_FALSE(isLeadByte(0xA0));
    EXPECT_FALSE(isLeadByte(0xDF));  // half-width katakana are single bytes
    EXPECT_TRUE(isLeadByte(0xE0));
    EXPECT_TRUE(isLeadByte(0xFC));
    EXPECT_FALSE(isLeadByte(0xFD));
}

TEST(Cp932Decode, UsesTheMicrosoftTable) {
    EXPECT_EQ(decodeCp932("\x81\x60"), "～");  // U+FF5E, not the wave dash U+301C
    EXPECT_EQ(decodeCp932("\x87\x40"), "①");
    EXPECT_EQ(decodeCp932("\x81\x40"), "　");
    EXPECT_EQ(decodeCp932("\xB1"), "ｱ");
    EXPECT_EQ(decodeCp932("Map \x83\x7D\x83\x62\x83\x76"), "Map マップ");
    EXPECT_EQ(decodeCp932(""), "");
}

TEST(Cp932Decode, KeepsEmbeddedNulBytes) {
    EXPECT_EQ(decodeCp932("A\0B"s), "A\0B"s);
}

TEST(Cp932Decode, RejectsInvalidAndTruncatedInput) {
    EXPECT_EQ(decodeCp932("AB\x82"), std::nullopt);  // lead byte without trail byte
    EXPECT_EQ(decodeCp932("\x80"), std::nullopt);
    EXPECT_EQ(decodeCp932("\xFD"), std::nullopt);
    EXPECT_EQ(decodeCp932("\x82\x20"), std::nullopt);  // 0x20 cannot be a trail byte
    EXPECT_EQ(decodeCp932("\x85\x40"), std::nullopt);  // an unassigned pair
}

TEST(Cp932Decode, LongTextSurvivesBufferRefills) {
    std::string bytes;
    std::string expected;
    for (int i = 0; i < 3000; ++i) {
        bytes += "\x82\xA0";
        expected += "あ";
    }
    EXPECT_EQ(decodeCp932(bytes), expected);
}

TEST(Cp932DecodeLossy, ReplacesOnlyTheBadBytes) {
    EXPECT_EQ(decodeCp932Lossy("A\x80"
                               "B"),
              "A\uFFFD"
              "B");
    EXPECT_EQ(decodeCp932Lossy("AB\x82"), "AB\uFFFD");
    // An unassigned pair is one bad character, not two.
    EXPECT_EQ(decodeCp932Lossy("\x85\x40"
                               "C"),
              "\uFFFD"
              "C");
    // A lead byte before a byte that cannot follow it is bad alone; the next byte shows.
    EXPECT_EQ(decodeCp932Lossy("\x82 X"), "\uFFFD X");
    EXPECT_EQ(decodeCp932Lossy("\x80\x80\x80"), "\uFFFD\uFFFD\uFFFD");
}

TEST(Cp932DecodeLossy, MatchesStrictDecodingOnValidText) {
    const std::string text = "\x83\x65\x83\x58\x83\x67 \x87\x40\x81\x60";
    EXPECT_EQ(decodeCp932Lossy(text), *decodeCp932(text));
}

TEST(Cp932DecodeLossy, NeverFailsOnAnyByte) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    std::string shown = decodeCp932Lossy(all + all);
    // Decoding picks up again after the bad bytes: the second copy's ASCII is there too.
    size_t first = shown.find("0123456789");
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(shown.find("0123456789", first + 1), std::string::npos);
    EXPECT_NE(shown.find("\uFFFD"), std::string::npos);
}

TEST(Cp932Encode, RoundTripsJapaneseText) {
    EXPECT_EQ(encodeCp932("～"), "\x81\x60");
    EXPECT_EQ(encodeCp932("①"), "\x87\x40");
    const std::string text = "新規マップ ｱｲｳ abc　";
    std::optional<std::string> bytes = encodeCp932(text);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(decodeCp932(*bytes), text);
}

TEST(Cp932Encode, RejectsCharactersWithoutACp932FormAndBadUtf8) {
    EXPECT_EQ(encodeCp932("price €5"), std::nullopt);
    EXPECT_EQ(encodeCp932("\xF0\x9F\x98\x80"), std::nullopt);  // an emoji
    EXPECT_EQ(encodeCp932("\xC3"), std::nullopt);              // truncated UTF-8
    EXPECT_EQ(encodeCp932("\xFF"), std::nullopt);
}

TEST(Cp932Cut, NeverSplitsADoubleByteCharacter) {
    const std::string aiu = "\x82\xA0\x82\xA2\x82\xA4";  // あいう
    EXPECT_EQ(cutToBytes(aiu, 0), "");
    EXPECT_EQ(cutToBytes(aiu, 1), "");
    EXPECT_EQ(cutToBytes(aiu, 3), "\x82\xA0");
    EXPECT_EQ(cutToBytes(aiu, 5), "\x82\xA0\x82\xA2");
    EXPECT_EQ(cutToBytes(aiu, 6), aiu);
    EXPECT_EQ(cutToBytes(aiu, 100), aiu);
    EXPECT_EQ(cutToBytes("A\x82\xA0", 2), "A");
}

TEST(Cp932Cut, ScansFromTheStartSoTrailBytesAreNotLeadBytes) {
    // ぁ is 0x82 0x9F: its trail byte has a lead byte's value, so looking only at the byte
    // before the cut would wrongly drop it.
    const std::string s =
        "\x82\x9F\x82\x9F"
        "A";
    EXPECT_EQ(cutToBytes(s, 4), "\x82\x9F\x82\x9F");
    EXPECT_EQ(cutToBytes(s, 3), "\x82\x9F");
    EXPECT_EQ(cutToBytes(s, 5), s);
}

TEST(Cp932Cut, DropsALoneLeadByteAtTheEnd) {
    EXPECT_EQ(cutToBytes("AB\x82", 10), "AB");
    EXPECT_EQ(cutToBytes("\x82", 10), "");
}

TEST(Cp932Trim, RemovesHalfAndFullWidthSpaces) {
    EXPECT_EQ(trimTrailingBlanks("ABC\x81\x40 "), "ABC");
    EXPECT_EQ(trimTrailingBlanks("ABC \x81\x40\x81\x40"), "ABC");
    EXPECT_EQ(trimTrailingBlanks("A\x81\x40"
                                 "B"),
              "A\x81\x40"
              "B");
    EXPECT_EQ(trimTrailingBlanks(" \x81\x40 "), "");
    EXPECT_EQ(trimTrailingBlanks(""), "");
}

TEST(Cp932Trim, OnlyWholeCharactersCountAsBlanks) {
    // 堰 is 0x89 0x81; followed by '@' (0x40) the bytes end in 0x81 0x40 without a
    // full-width space being there.
    EXPECT_EQ(trimTrailingBlanks("\x89\x81@"), "\x89\x81@");
    // ァ is 0x83 0x40: its trail byte is not the second half of a space.
    EXPECT_EQ(trimTrailingBlanks("\x83\x40 "), "\x83\x40");
    // A lead byte takes the byte after it, even a space, as its pair.
    EXPECT_EQ(trimTrailingBlanks("A\x82 "), "A\x82 ");
    // A lead byte alone at the end stays; it is not a blank.
    EXPECT_EQ(trimTrailingBlanks("A \x82"), "A \x82");
}

TEST(Cp932Trim, StopsAtTheFirstNul) {
    EXPECT_EQ(trimTrailingBlanks("AB \0CD"s), "AB");
    EXPECT_EQ(trimTrailingBlanks("\0AB"s), "");
}

TEST(Cp932Field, EndsAtNulOrWidth) {
    const char field[] = {'A', 'B', '\0', 'C', 'D'};
    EXPECT_EQ(fieldText(field, sizeof field), "AB");
    const char full[] = {'A', 'B', 'C', 'D'};
    EXPECT_EQ(fieldText(full, 3), "ABC");
    EXPECT_EQ(fieldText(full, sizeof full), "ABCD");
    EXPECT_EQ(fieldText(full, 0), "");
    EXPECT_EQ(fieldText(nullptr, 10), "");
}

}  // namespace
}  // namespace kv
