// The editor's fonts.
#include "framework/font.h"

#include <QFontDatabase>
#include <QStringList>

namespace kv {

void installFontSubstitutions() {
    static bool done = false;
    if (done) return;
    done = true;
    const QStringList substitutes = {"IPAGothic", "IPAゴシック", "Noto Sans Mono CJK JP",
                                     "VL Gothic", "Monospace"};
    QFont::insertSubstitutions(QString::fromUtf8(kGothicFace), substitutes);
    QFont::insertSubstitutions(QStringLiteral("MS Gothic"), substitutes);
}

QFont createFont(int height, int weight, const std::string& faceName) {
    installFontSubstitutions();
    QFont f(QString::fromStdString(faceName));
    f.setPixelSize(height > 0 ? height : 12);
    f.setWeight(weight >= 700 ? QFont::Bold : QFont::Normal);
    f.setFixedPitch(true);
    f.setStyleHint(QFont::Monospace, QFont::PreferMatch);
    return f;
}

SharedFonts::SharedFonts() {
    const int heights[kCount] = {24, 22, 18, 16, 16, 14, 14, 12, 10};
    const int weights[kCount] = {400, 400, 400, 400, 700, 400, 700, 400, 400};
    for (int i = 0; i < kCount; ++i) fonts[i] = createFont(heights[i], weights[i]);
}

}  // namespace kv
