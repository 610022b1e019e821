// The dialogs the terrain and border tools open from their context menus: a missile base's
// settings and the borderline kinds of a hex's six sides.
#pragma once

#include <array>
#include <vector>

#include "document/hex_geometry.h"
#include "framework/window.h"

namespace kv {

class MapDocument;

// The missile kind ("なし" or a selectable warhead), the number of missiles and the launch
// interval with its time in counts. OK checks the values and stores them as one undo step;
// with "なし" the count and the interval are stored as 0.
class MissileBaseDialog : public Dialog {
public:
    static constexpr int kTemplateId = 180;
    enum Control : int { kIdMissile = 1000, kIdCount = 1001, kIdInterval = 1002, kIdTime = 1003 };
    MissileBaseDialog(Window* owner, MapDocument& doc, HexPos hex);
    int onInitDialog() override;
    int onCommand(MessageRecord& m, int id, int code) override;

private:
    void showTime();

    MapDocument& doc_;
    HexPos hex_;
};

// Six drop-downs around a picture of the hex, one per side. A side with a borderline offers
// "越境可能" and "越境不可"; a side without one shows a disabled box. OK stores the sides whose
// choice changed (a side of another kind keeps it otherwise) as one undo step.
class BorderlineDialog : public Dialog {
public:
    static constexpr int kTemplateId = 181;
    // The drop-down of side i (west, south-west, south-east, east, north-east, north-west).
    static constexpr int kIdFirstSide = 1000;
    BorderlineDialog(Window* owner, MapDocument& doc, HexPos hex);
    int onInitDialog() override;
    int onCommand(MessageRecord& m, int id, int code) override;

private:
    MapDocument& doc_;
    HexPos hex_;
    std::array<int, 6> shownIndex_{};
};

}  // namespace kv
