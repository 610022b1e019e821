// Line breaking and pagination of the scenario texts.
#include "scenario/text_layout.h"

#include <algorithm>
#include <array>

#include "framework/cp932.h"

namespace kv {

namespace {

bool atEnd(std::string_view text, size_t i) {
    return i >= text.size() || text[i] == '\0';
}

constexpr auto widths(std::pair<size_t, size_t> a, std::pair<size_t, size_t> b) {
    std::array<size_t, 14> out{};
    size_t n = 0;
    for (size_t i = 0; i < a.first; ++i) out[n++] = a.second;
    for (size_t i = 0; i < b.first; ++i) out[n++] = b.second;
    return out;
}

constexpr auto kBriefingWidths = widths({7, 56}, {7, 46});
constexpr auto kOrderWidths = widths({7, 74}, {6, 56});

}  // namespace

TextLine breakLine(std::string_view text, size_t start, size_t width) {
    if (atEnd(text, start)) return {{}, start, true};
    // A width too small for one character would never move on.
    width = std::max<size_t>(width, 2);
    TextLine line;
    size_t i = start;
    while (!atEnd(text, i) && line.text.size() < width) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\r') {
            ++i;
        } else if (c == '\n') {
            ++i;
            if (!line.text.empty()) break;
        } else if (isLeadByte(c)) {
            if (atEnd(text, i + 1)) {
                ++i;  // a lead byte cut off from its trail byte
            } else if (line.text.size() + 2 > width) {
                break;
            } else {
                line.text.append(text.substr(i, 2));
                i += 2;
            }
        } else {
            line.text.push_back(static_cast<char>(c));
            ++i;
        }
    }
    line.next = i;
    // Only skipped line ends were left: the text is over.
    if (line.text.empty() && atEnd(text, i)) line.end = true;
    return line;
}

std::vector<TextPage> paginate(std::string_view text, std::span<const size_t> lineWidths) {
    std::vector<TextPage> pages;
    size_t pos = 0;
    bool over = false;
    while (!over && pages.size() < kMaxTextPages) {
        TextPage page{pos, {}};
        for (size_t w : lineWidths) {
            TextLine l = breakLine(text, pos, w);
            if (l.end) {
                over = true;
                break;
            }
            page.lines.push_back(std::move(l.text));
            pos = l.next;
        }
        if (page.lines.empty() && !pages.empty()) break;
        pages.push_back(std::move(page));
    }
    return pages;
}

ScrolledText scrollText(std::string_view text, std::span<const size_t> firstPageWidths,
                        size_t scrollWidth) {
    ScrolledText out;
    size_t pos = 0;
    for (size_t w : firstPageWidths) {
        TextLine l = breakLine(text, pos, w);
        if (l.end) return out;
        out.firstPage.lines.push_back(std::move(l.text));
        pos = l.next;
    }
    for (;;) {
        TextLine l = breakLine(text, pos, scrollWidth);
        if (l.end) break;
        out.scrollLines.push_back(std::move(l.text));
        pos = l.next;
    }
    return out;
}

std::span<const size_t> briefingLineWidths() {
    return kBriefingWidths;
}

std::span<const size_t> orderLineWidths() {
    return std::span<const size_t>(kOrderWidths).first(13);
}

std::vector<VictoryPage> victoryPages(std::string_view victoryText, std::string_view factionsText) {
    std::vector<VictoryPage> pages(1);
    int row = 0;
    bool full = false;
    // Adds the line at `row`, on a new page once the current one is full.
    auto put = [&](int which, size_t start, std::string line) {
        if (row == kVictoryPageLines) {
            if (pages.size() == kMaxTextPages) {
                full = true;
                return;
            }
            pages.push_back({which, start, {}, -1});
            row = 0;
        }
        pages.back().lines.push_back({row++, which, std::move(line)});
    };
    size_t pos = 0;
    for (TextLine l = breakLine(victoryText, pos, kScrollLineWidth); !l.end && !full;
         l = breakLine(victoryText, pos, kScrollLineWidth)) {
        put(0, pos, std::move(l.text));
        pos = l.next;
    }
    pos = 0;
    TextLine l = breakLine(factionsText, pos, kScrollLineWidth);
    if (l.end || full) return pages;
    if (pages.size() == 1 && pages[0].lines.empty()) pages[0].firstText = 1;
    if (row <= kVictoryPageLines - 2) {
        row += 1;  // one blank line, where the caption goes
    } else if (pages.size() < kMaxTextPages) {
        pages.push_back({1, 0, {}, -1});
        row = 0;
    } else {
        return pages;
    }
    pages.back().factionsRow = row;
    for (; !l.end && !full; l = breakLine(factionsText, pos, kScrollLineWidth)) {
        put(1, pos, std::move(l.text));
        pos = l.next;
    }
    return pages;
}

}  // namespace kv
