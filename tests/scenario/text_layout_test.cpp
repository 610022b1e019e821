// Line breaking and pagination of the scenario texts, against hand-worked examples.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/cp932.h"
#include "scenario/text_layout.h"

namespace kv {
namespace {

std::string sj(const char* utf8) {
    return encodeCp932(utf8).value();
}

// Every line breakLine cuts from `text`, until it reports the end.
std::vector<std::string> lines(std::string_view text, size_t width) {
    std::vector<std::string> out;
    size_t pos = 0;
    for (TextLine l = breakLine(text, 0, width); !l.end; l = breakLine(text, pos, width)) {
        out.push_back(l.text);
        EXPECT_GT(l.next, pos);  // every line moves on
        pos = l.next;
        if (out.size() > 1000) break;
    }
    return out;
}

using Lines = std::vector<std::string>;

TEST(TextLayoutTest, LinesBreakAtTheWidthWithoutSplittingCharacters) {
    EXPECT_EQ(lines("ABCDEFGHIJ", 4), (Lines{"ABCD", "EFGH", "IJ"}));
    // Full width: the third character would need bytes 5 and 6.
    EXPECT_EQ(lines(sj("あいう"), 5), (Lines{sj("あい"), sj("う")}));
    EXPECT_EQ(lines(sj("Aあ"), 2), (Lines{"A", sj("あ")}));
    // "メ" is 83 81: its trail byte is itself a lead byte value.
    EXPECT_EQ(lines("\x83\x81\x83\x81", 3), (Lines{"\x83\x81", "\x83\x81"}));
    // A 56-byte line whose last character would start at byte 56 leaves it to the next line.
    const std::string s = std::string(55, 'a') + sj("あ") + "b";
    EXPECT_EQ(lines(s, 56), (Lines{std::string(55, 'a'), sj("あ") + "b"}));
    // CR is skipped, LF ends a line, and an LF on an empty line gives no line.
    EXPECT_EQ(lines("ab\r\ncd\n\n\r\n\nef\n", 10), (Lines{"ab", "cd", "ef"}));
    // A line that fills its width exactly does not make its LF a blank line.
    EXPECT_EQ(lines("abcd\nef", 4), (Lines{"abcd", "ef"}));
    // The NUL ends the text; so does the end of the bytes, and a lone lead byte there is
    // dropped.
    EXPECT_EQ(lines(std::string("ab\0cd", 5), 10), (Lines{"ab"}));
    EXPECT_EQ(lines("ab\x83", 10), (Lines{"ab"}));
    EXPECT_EQ(lines(std::string("ab\x83\0", 4), 10), (Lines{"ab"}));
    EXPECT_TRUE(breakLine("", 0, 10).end);
    EXPECT_TRUE(breakLine("\n\r\n", 0, 10).end);
    // A width too small for a double-byte character still moves on.
    EXPECT_EQ(lines(sj("あい"), 1).size(), 2u);
}

TEST(TextLayoutTest, BriefingAndOrderPagesUseTheirLineWidths) {
    // Eight lines of 50 bytes: the first seven fit 56; the eighth is cut at 46.
    std::string text;
    for (int i = 0; i < 8; ++i) text += std::string(50, char('a' + i)) + "\n";
    std::vector<TextPage> pages = paginate(text, briefingLineWidths());
    ASSERT_EQ(pages.size(), 1u);
    ASSERT_EQ(pages[0].lines.size(), 9u);
    EXPECT_EQ(pages[0].lines[6], std::string(50, 'g'));
    EXPECT_EQ(pages[0].lines[7], std::string(46, 'h'));
    EXPECT_EQ(pages[0].lines[8], std::string(4, 'h'));

    // Fifteen short lines: fourteen on the first page, the next page starts at line 15.
    text.clear();
    for (int i = 1; i <= 15; ++i) text += "L" + std::to_string(100 + i) + "\n";
    pages = paginate(text, briefingLineWidths());
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].lines.size(), 14u);
    EXPECT_EQ(pages[1].start, text.find("L115"));
    EXPECT_EQ(pages[1].lines, (Lines{"L115"}));
    // An operation order page holds 13 lines: seven of 74 bytes, then six of 56.
    pages = paginate(text, orderLineWidths());
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].lines.size(), 13u);
    EXPECT_EQ(pages[1].lines, (Lines{"L114", "L115"}));
    const std::string wide(200, 'x');
    pages = paginate(wide, orderLineWidths());
    ASSERT_EQ(pages[0].lines.size(), 3u);
    EXPECT_EQ(pages[0].lines[2].size(), 200u - 2 * 74);

    // An empty text still has its (empty) first page; a long one stops at 600 pages.
    pages = paginate("", briefingLineWidths());
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_TRUE(pages[0].lines.empty());
    std::string many;
    for (int i = 0; i < 10000; ++i) many += "a\n";
    EXPECT_EQ(paginate(many, briefingLineWidths()).size(), kMaxTextPages);

    // Scrolling: the first page as in page mode, then lines of 74.
    text = std::string(7 * 56 + 7 * 46, 'p') + std::string(80, 's');
    const ScrolledText scrolled = scrollText(text, briefingLineWidths(), kScrollLineWidth);
    EXPECT_EQ(scrolled.firstPage.lines.size(), 14u);
    EXPECT_EQ(scrolled.scrollLines, (Lines{std::string(74, 's'), std::string(6, 's')}));
}

std::string numberedLines(int n, char c) {
    std::string text;
    for (int i = 0; i < n; ++i) text += std::string(1, c) + std::to_string(i) + "\n";
    return text;
}

TEST(TextLayoutTest, FactionsTextFollowsTheVictoryTextWhenTwoRowsAreLeft) {
    // 12 victory lines: one blank row, then the factions text on row 13 of the same page.
    std::vector<VictoryPage> pages = victoryPages(numberedLines(12, 'v'), numberedLines(3, 'f'));
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].factionsRow, 13);
    ASSERT_EQ(pages[0].lines.size(), 13u);
    EXPECT_EQ(pages[0].lines[11].row, 11);
    EXPECT_EQ(pages[0].lines[12].row, 13);
    EXPECT_EQ(pages[0].lines[12].text, 1);
    EXPECT_EQ(pages[0].lines[12].line, "f0");
    EXPECT_EQ(pages[1].firstText, 1);
    EXPECT_EQ(pages[1].start, std::string("f0\n").size());
    EXPECT_EQ(pages[1].lines.size(), 2u);
    EXPECT_EQ(pages[1].factionsRow, -1);

    // 13 victory lines: the factions text starts a page of its own.
    pages = victoryPages(numberedLines(13, 'v'), numberedLines(3, 'f'));
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].factionsRow, -1);
    EXPECT_EQ(pages[0].lines.size(), 13u);
    EXPECT_EQ(pages[1].factionsRow, 0);
    EXPECT_EQ(pages[1].firstText, 1);
    EXPECT_EQ(pages[1].start, 0u);
    EXPECT_EQ(pages[1].lines.front().row, 0);

    // A long victory text carries on over pages of 14 lines of 74 bytes.
    pages = victoryPages(std::string(74 * 15, 'v'), "");
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].lines.size(), 14u);
    EXPECT_EQ(pages[1].firstText, 0);
    EXPECT_EQ(pages[1].start, 74u * 14);
    // Nothing at all: one empty page; only factions: they start on the first page.
    pages = victoryPages("", "");
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_TRUE(pages[0].lines.empty());
    pages = victoryPages("", "f");
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].firstText, 1);
    EXPECT_EQ(pages[0].factionsRow, 1);
}

}  // namespace
}  // namespace kv
