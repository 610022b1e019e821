// The victory-condition dialog: the victory conditions of each faction that takes part, one
// faction at a time, on a copy of the victory-condition block.
#pragma once

#include <array>
#include <cstdint>

#include "app/picture_dialog.h"
#include "scenario/victory_block.h"

namespace kv {

class VictoryConditionDialog : public PictureDialog {
public:
    static constexpr int kWidth = 432, kHeight = 600;
    enum Control : int {
        kIdOkButton = 1000,
        kIdCancelButton = 1001,
        kIdBuildingNone = 1002,
        kIdBuilding1 = 1003,
        kIdBuilding2 = 1004,
        kIdTroopNone = 1005,
        kIdTroop1 = 1006,
        kIdTroop2 = 1007,
        kIdTransportNone = 1008,
        kIdTransportCount = 1009,
        kIdTransportOn = 1010,
        kIdTwoWayClear = 1011,
        kIdTwoWaySet = 1012,
        kIdThreeWay1 = 1013,
        kIdThreeWay2 = 1014,
        kIdThreeWayNone = 1015,
        kIdFirstValueOn = 1016,  // value v: on 1016 + 2v, off 1017 + 2v
        kIdFirstValueEdit = 1024,
        kIdFirstSlot = 1028,
    };

    // `participating`: a bit per slot that takes part.
    VictoryConditionDialog(Window* owner, const VictoryBlock& block, uint8_t participating);
    void addControls() override;
    int onCommand(MessageRecord& m, int id, int code) override;

    const VictoryBlock& block() const { return block_; }
    int currentSlot() const { return current_; }

private:
    void fill(int slot);
    void applyEnabling();
    void store(int slot);
    bool checkSlot(int slot);
    void changed();
    void chooseSlot(int slot);
    void markSlot(int slot);

    VictoryBlock block_;
    const VictoryBlock initial_;
    uint8_t participating_;
    int current_ = -1;
    bool filling_ = false;
};

}  // namespace kv
