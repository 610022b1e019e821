// The troop palette: the faction, product type and weapon type to choose a weapon from, the
// unit count of new troops, and the weapon list; choosing a weapon sets the troop brush.
#pragma once

#include <vector>

#include "app/palette_window.h"

namespace kv {

class TroopPalette : public PaletteWindow {
public:
    static constexpr const char* kClassName = "KOBMEC_TROOPPALETTEWINDOW_CNAME";
    enum Control : int {
        kIdFaction = 1000,
        kIdProductType,
        kIdWeaponType,
        kIdUnitCount,
        kIdPack,
        kIdWeapons,
        kIdDirectTroops,
        kIdWeaponDetail,
        kIdDeploy,
        kIdCancelDeploy,
        kIdPlace,
        kIdRecall,
        kIdTroopDetail
    };
    explicit TroopPalette(MainFrame& frame);
    int onInitDialog() override;
    int onCommand(MessageRecord& m, int id, int code) override;
    int onMessage(MessageRecord& m) override;
    // The weapon ids the list shows, in its order.
    const std::vector<int>& listed() const { return listed_; }

protected:
    void refresh() override;
    QPoint defaultOffset() const override { return {880, 60}; }

private:
    void fillProductTypes();
    void fillWeaponTypes();
    void fillWeapons();
    int productSlot() const;
    bool filling_ = false;
    std::vector<int> productSlots_;
    std::vector<int> weaponTypes_;  // -1: every type
    std::vector<int> listed_;
};

}  // namespace kv
