// Line breaking and pagination of the scenario texts as the briefing and ending previews show
// them: byte widths of CP932 text, double-byte characters never split.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// One line cut from a text, and where the next line starts. `end` is set, with no text, when
// the cut started at the text's end (its NUL or the end of the view).
struct TextLine {
    std::string text;
    size_t next = 0;
    bool end = false;
};

// Cuts the line of at most `width` bytes that starts at `start`: CR is skipped, LF ends the
// line and is consumed (an LF met while the line is still empty is skipped, so blank lines
// give no line of their own), a double-byte character that would not fit starts the next
// line, and a lead byte without its trail byte at the end of the text is dropped.
TextLine breakLine(std::string_view text, size_t start, size_t width);

// One page: where it starts in its text and its lines.
struct TextPage {
    size_t start = 0;
    std::vector<std::string> lines;
};

inline constexpr size_t kMaxTextPages = 600;

// The text cut into pages whose lines have the widths of `lineWidths` (one entry per line of
// a page), at most kMaxTextPages pages. There is always a first page, empty for an empty text.
std::vector<TextPage> paginate(std::string_view text, std::span<const size_t> lineWidths);

// A text shown scrolling: its first page cut as in page mode, then every further line of
// `scrollWidth` bytes.
struct ScrolledText {
    TextPage firstPage;
    std::vector<std::string> scrollLines;
};
ScrolledText scrollText(std::string_view text, std::span<const size_t> firstPageWidths,
                        size_t scrollWidth);

// The line widths of a briefing or ending page (7 lines of 56 bytes beside the headline
// picture, then 7 of 46) and of an operation order page (7 of 74, then 6 of 56), and the width
// of the scrolling lines.
std::span<const size_t> briefingLineWidths();
std::span<const size_t> orderLineWidths();
inline constexpr size_t kScrollLineWidth = 74;

// The victory pages: the victory-condition text and after it the participating-factions text,
// 14 lines of 74 bytes a page. The factions text starts two lines below the victory text's last
// line when that leaves it room on the page (at most 12 lines used), else on a new page.
struct VictoryLine {
    int row = 0;   // 0..13 on its page
    int text = 0;  // 0 the victory-condition text, 1 the participating-factions text
    std::string line;
};
struct VictoryPage {
    int firstText = 0;  // the text the page starts in
    size_t start = 0;   // where in that text
    std::vector<VictoryLine> lines;
    // The row of the factions text's first line when it starts on this page, else -1.
    int factionsRow = -1;
};
inline constexpr int kVictoryPageLines = 14;
std::vector<VictoryPage> victoryPages(std::string_view victoryText, std::string_view factionsText);

}  // namespace kv
