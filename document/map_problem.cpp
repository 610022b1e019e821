// The texts of the map check's findings and the check window's text.
#include "document/map_problem.h"

#include <array>
#include <cstdarg>
#include <cstdio>

namespace kv {

namespace {

struct CodeText {
    int code;
    std::string_view text;
};

// clang-format off
constexpr CodeText kTexts[] = {
    {1, "中立の首都が存在しています(%d個存在)。"},
    {2, "%s の首都が存在しません。"},
    {3, "%s の首都の数が多すぎます(%d個存在)。"},
    {4, "不参戦陣営 %s の首都が存在しています(%d個存在)。"},
    {5, "参戦陣営がありません。"},
    {6, "参戦陣営が１陣営しか存在していません。"},
    {7, "勝利条件ラベルが同盟を含む１陣営にのみ貼られています。"},
    {8, "不参戦陣営 %s の建物が存在しています(%d個存在)。"},
    {9, "不参戦陣営 %s の国境線が存在しています。"},
    {10, "ＵＳＥＲ陣営が存在していません。"},
    {11, "人間陣営が２陣営以上存在しています。"},
    {12, "不参戦陣営 %s の部隊が存在しています(%d部隊存在)。"},
    {13, "移動不可能な地形に部隊がいます。%s No.%d (%d,%d)"},
    {14, "収納不可能な地形に部隊がいます。%s No.%d (%d,%d)"},
    {15, "マップに配置されていない部隊がいます。%s No.%d (%d,%d)"},
    {16, "%s 陣営の配置部隊数がオーバーしています(%d部隊存在)。"},
    {17, "輸送目標がマップ外に設定されています。%s No.%d (%d,%d)"},
    {18, "空白地形が輸送目標に指定されています。%s No.%d (%d,%d)"},
    {19, "移動不可能な地形が輸送目標に指定されています。%s No.%d (%d,%d)"},
    {20, "民間人陣営避難目標がマップ外に設定されています。(%d,%d)"},
    {21, "敵陣営部隊に敗北条件が設定されています。%s No.%d (%d,%d)"},
    {22, "敵陣営部隊に輸送勝利条件が設定されています。%s No.%d (%d,%d)"},
    {23, "自陣営部隊に勝利条件が設定されています。%s No.%d (%d,%d)"},
    {24, "同盟陣営部隊に勝利条件が設定されています。%s No.%d (%d,%d)"},
    {25, "同盟陣営部隊に輸送勝利条件が設定されています。%s No.%d (%d,%d)"},
    {26, "敵建物に敗北条件が設定されています。(%d, %d)"},
    {27, "%s の首都が存在しません。"},
    {29, "搭載元部隊が存在していません。%s No.%d (%d,%d)"},
    {30, "参加陣営 %s に建物勝利条件が設定されていますが、\r\n"
         "    敵中立陣営に勝利条件建物は存在しません。"},
    {31, "参加陣営 %s に部隊勝利条件が設定されていますが、\r\n"
         "    敵陣営に勝利条件部隊は存在しません。"},
    {32, "参加陣営 %s に輸送勝利条件が設定されていますが、\r\n"
         "    自陣営または民間人陣営に輸送条件部隊は存在しません。"},
    {33, "参加陣営 %s に輸送勝利条件に民間人陣営を含んでいますが、\r\n"
         "    民間人陣営とは同盟関係ではありません。"},
    {34, "搭載容量を越えて搭載をおこなっています。%s No.%d (%d,%d)"},
    {35, "収納容量を越えて収納をおこなっています。(%d, %d)"},
    {36, "陣営 %s の %s%sの一部の部隊のみが配置されています。"},
    {37, "参加陣営 %s の %sの連隊間に空欄があります。\r\n　詰めて配備してください。"},
    {38, "参加陣営 %s の %sの部隊間に空欄があります。\r\n　詰めて配備してください。"},
    {39, "参加陣営 %s の %sに設定数以上の連隊が存在しています"},
    {40, "参加陣営 %s の %sに設定数以上の部隊が存在しています"},
    {41, "参加陣営 %s の 集結状態%s%sに\r\n　移動できない部隊が含まれています。"},
};
// clang-format on

}  // namespace

std::string_view mapProblemFormat(int code) {
    for (const CodeText& t : kTexts)
        if (t.code == code) return t.text;
    return {};
}

std::string formatMapProblem(int code, ...) {
    const std::string format(mapProblemFormat(code));
    if (format.empty()) return {};
    std::va_list args;
    va_start(args, code);
    std::va_list again;
    va_copy(again, args);
    const int needed = std::vsnprintf(nullptr, 0, format.c_str(), args);
    va_end(args);
    std::string out;
    if (needed > 0) {
        out.resize(static_cast<size_t>(needed) + 1);
        std::vsnprintf(out.data(), out.size(), format.c_str(), again);
        out.resize(static_cast<size_t>(needed));
    }
    va_end(again);
    return out;
}

std::string checkWindowText(const std::vector<MapProblem>& problems) {
    if (problems.empty()) return std::string(kNoProblemsText);
    std::string out;
    for (size_t i = 0; i < problems.size(); ++i) {
        if (i > 0) out += "\r\n";
        out += problems[i].text;
    }
    return out;
}

std::string checkReportLines(const std::vector<MapProblem>& problems) {
    const std::string window = checkWindowText(problems);
    std::string out;
    out.reserve(window.size() + 1);
    for (size_t i = 0; i < window.size(); ++i) {
        if (window[i] == '\r' && i + 1 < window.size() && window[i + 1] == '\n') continue;
        out += window[i];
    }
    out += '\n';
    return out;
}

}  // namespace kv
