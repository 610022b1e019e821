// The pictures the faction colour dialog shows for the colour being edited: terrain (bridges),
// buildings, borderlines, territories and weapon icons. The art is read and cut once; each
// change of the angle only turns the few pixels shown.
#pragma once

#include <QImage>

#include <array>

#include "framework/picture.h"

namespace kv {

class FactionColourPreview {
public:
    enum Kind { Terrain, Building, Borderline, Territory, Weapon, KindCount };

    // Reads the art from the bitmap folder; a missing file leaves its preview empty.
    FactionColourPreview();

    // The preview of `kind` with its faction-coloured parts turned by `hueAngle` (the same
    // rotation as the map's sheets), drawn over `background`. Null when its art is missing.
    QImage render(Kind kind, int hueAngle, QRgb background) const;

private:
    struct Part {
        Picture ground;    // plain, drawn first (may be null)
        Picture coloured;  // turned by the angle, keyed over the ground
    };
    std::array<Part, KindCount> parts_;
};

}  // namespace kv
