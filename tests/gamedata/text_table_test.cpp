// The shared text-file reader: line ends, double-byte characters, fields and numbers.
#include <gtest/gtest.h>

#include "gamedata/text_table.h"
#include "support/test_paths.h"

namespace kv {
namespace {

using Lines = std::vector<std::string>;

TEST(SplitLines, CrLfLfAndNulEndLinesAlike) {
    EXPECT_EQ(splitLines("a,b\r\nc\nd\0e"), (Lines{"a,b", "c", "d"}));
    EXPECT_EQ(splitLines(std::string_view("a\r\nb\nc\0d", 9)), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(splitLines("x\r\n\r\ny"), (Lines{"x", "", "y"}));
    // A lone CR is part of the line; the last line needs no end.
    EXPECT_EQ(splitLines("a\rb"), (Lines{"a\rb"}));
    EXPECT_EQ(splitLines(""), Lines{});
}

TEST(SplitLines, TrailBytesThatLookLikeLineEndsStayInTheirCharacter) {
    // 0x81 0x0A is not a real character, but the pair is kept whole all the same, as is a
    // lead byte followed by CR.
    EXPECT_EQ(splitLines(std::string_view("\x81\x0A"
                                          "b\n\x82\r"
                                          "c",
                                          7)),
              (Lines{std::string("\x81\x0A"
                                 "b",
                                 3),
                     std::string("\x82\r"
                                 "c",
                                 3)}));
    // A lead byte at the very end of the file is an ordinary last byte.
    EXPECT_EQ(splitLines("ab\x83"), (Lines{"ab\x83"}));
}

TEST(SplitLines, LongLinesAreCutAtACharacterBoundary) {
    std::string long1(1022, 'a');
    long1 += "\x82\xa0zzz\nnext";  // the double-byte character would pass byte 1023
    const Lines lines = splitLines(long1);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], std::string(1022, 'a'));
    EXPECT_EQ(lines[1], "next");
}

TEST(SplitFields, CommasInsideDoubleByteCharactersDoNotSplit) {
    // 0x81 0x2C: a lead byte whose trail byte is an ASCII comma.
    const auto f =
        splitFields(std::string_view("\x81\x2C"
                                     "x,,y ,",
                                     8));
    ASSERT_EQ(f.size(), 4u);
    EXPECT_EQ(f[0], std::string("\x81\x2C"
                                "x",
                                3));
    EXPECT_EQ(f[1], "");
    EXPECT_EQ(f[2], "y ");  // no trimming
    EXPECT_EQ(f[3], "");
    EXPECT_EQ(splitFields("").size(), 1u);

    // A row kept for a whole file holds only the fields of the last line split into it.
    FieldRow row;
    for (std::string_view line :
         {"1,a long first field of a row,3,4,5", "x,,y", "\x81\x2C,z", "", "only"}) {
        row.split(line);
        EXPECT_EQ(row.fields(), splitFields(line)) << line;
    }
}

TEST(ParseNumber, LikeAPlainDecimalConversion) {
    EXPECT_EQ(parseNumber("  42abc"), 42);
    EXPECT_EQ(parseNumber("abc"), 0);
    EXPECT_EQ(parseNumber(""), 0);
    EXPECT_EQ(parseNumber("-17"), -17);
    EXPECT_EQ(parseNumber("99999999999999999999"), 2147483647);
    FieldRow row({"300", "70000", "x"});
    EXPECT_EQ(row.u8(0), 44);  // truncated to the field's width
    EXPECT_EQ(row.u16(1), 4464);
    EXPECT_EQ(row.text(7), "");  // missing columns read as empty
    EXPECT_EQ(row.number(9), 0);
}

TEST(Circle, MaskColumnsTestTheStartFlagColumnsTheWhole) {
    FieldRow row({"\x81\x9B", "\x81\x9B ",
                  "\x81\x9B"
                  "abc",
                  "x", ""});
    EXPECT_TRUE(row.circle(0));
    EXPECT_FALSE(row.circle(1));
    EXPECT_TRUE(row.circleStart(1));
    EXPECT_TRUE(row.circleStart(2));
    EXPECT_FALSE(row.circleStart(3));
    EXPECT_FALSE(row.circleStart(4));
    EXPECT_FALSE(row.circleStart(5));
}

TEST(ReadTextTable, MissingFileGivesNothing) {
    kvtest::TempDir dir;
    EXPECT_FALSE(readTextTable(dir.file("none.dat")));
    EXPECT_FALSE(readTextTable(dir.path()));
    kvtest::writeFile(dir.file("t.dat"), "a,b\nc");
    auto rows = readTextTable(dir.file("t.dat"));
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->size(), 2u);
    EXPECT_EQ((*rows)[0].text(1), "b");
}

TEST(CopyFieldText, CutsAtACharacterBoundaryAndTerminates) {
    char field[6];
    copyFieldText(field, sizeof field, "\x82\xa0\x82\xa2\x82\xa4");  // three characters
    EXPECT_EQ(std::string(field), "\x82\xa0\x82\xa2");
    EXPECT_EQ(field[4], 0);
    EXPECT_EQ(field[5], 0);
    copyFieldText(field, sizeof field, "ab");
    EXPECT_EQ(std::string(field), "ab");
}

}  // namespace
}  // namespace kv
