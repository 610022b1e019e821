// The Japanese monospace face behind "ＭＳ ゴシック" and the shared fonts.
#include <QFontInfo>
#include <QFontMetrics>

#include <gtest/gtest.h>

#include "framework/font.h"

namespace kv {
namespace {

TEST(Fonts, GothicResolvesToAFaceWithHalfAndFullWidths) {
    const QFont f = createFont(16, 400);
    const QFontMetrics m(f);
    // Half-width Latin is half the width of a full-width character.
    EXPECT_EQ(m.horizontalAdvance(QStringLiteral("A")), 8);
    EXPECT_EQ(m.horizontalAdvance(QStringLiteral("i")), 8);
    EXPECT_EQ(m.horizontalAdvance(QString::fromUtf8("Ａ")), 16);
    EXPECT_EQ(m.horizontalAdvance(QString::fromUtf8("ｱ")), 8);  // half-width kana
    EXPECT_EQ(QFontInfo(f).pixelSize(), 16);
}

TEST(Fonts, NineSharedFontsWithTheirHeightsAndWeights) {
    SharedFonts fonts;
    const int heights[] = {24, 22, 18, 16, 16, 14, 14, 12, 10};
    const bool bold[] = {false, false, false, false, true, false, true, false, false};
    for (int i = 0; i < SharedFonts::kCount; ++i) {
        EXPECT_EQ(fonts[i].pixelSize(), heights[i]) << i;
        EXPECT_EQ(fonts[i].bold(), bold[i]) << i;
    }
}

}  // namespace
}  // namespace kv
