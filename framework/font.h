// The editor's fonts: the face "ＭＳ ゴシック" resolved to an installed Japanese
// monospace face, and the nine shared fonts every window uses.
#pragma once

#include <QFont>
#include <string>

namespace kv {

inline const char* const kGothicFace = "ＭＳ ゴシック";

// Registers the substitutes of the Japanese faces once per process.
void installFontSubstitutions();
// A fixed-pitch font of `height` pixels and `weight` (400 normal, 700 bold).
QFont createFont(int height, int weight, const std::string& faceName = kGothicFace);

// The nine shared fonts: heights 24, 22, 18, 16, 16 bold, 14, 14 bold, 12 and 10.
struct SharedFonts {
    static constexpr int kCount = 9;
    QFont fonts[kCount];
    SharedFonts();
    const QFont& operator[](int i) const { return fonts[i]; }
};

}  // namespace kv
