// The combat comparison: two weapons side by side, each with an armament slot and a terrain,
// and what one exchange of fire does to each.
#pragma once

#include <QImage>

#include <array>
#include <vector>

#include "framework/window.h"
#include "gamedata/combat_figures.h"

class QListWidget;
class QPainter;
class QPushButton;
class QWidget;

namespace kv {

class GameDatabase;

class CombatComparisonDialog : public Dialog {
public:
    static constexpr int kTemplateId = 141;
    static constexpr int kClientWidth = 660, kClientHeight = 460;
    // The window's placement keys begin with this.
    static constexpr const char* kPlacementName = "SimulateAttack";
    static constexpr int kSideOffset = 320;
    enum Control : int {
        kIdOkButton = 1000,
        kIdCancelButton = 1001,
        kIdSlotA = 1002,  // 1002..1006 side A, 1007..1011 side B
        kIdSlotB = 1007,
        kIdWeaponDropA = 1012,
        kIdWeaponDropB = 1013,
        kIdWeaponList = 1014,
        kIdTerrainDropA = 1015,
        kIdTerrainDropB = 1016,
        kIdTerrainList = 1017,
    };

    CombatComparisonDialog(Window* owner, const GameDatabase& db);

    int onInitDialog() override;
    int onCommand(MessageRecord& m, int id, int code) override;

    // Side 0 (A) or 1 (B).
    const CombatSide& side(int s) const { return sides_[size_t(s & 1)]; }
    // The side's figures attacking the other side, and what the other side has left.
    CombatFigures figures(int s) const;
    std::vector<int> targetLeft(int s) const;
    // Whether the slot button is shown: the slot holds an armament that can hurt the other side.
    bool slotUsable(int s, int slot) const;

    // The choices the lists make.
    void chooseWeapon(int s, int weaponId);
    void chooseTerrain(int s, int terrain);
    void chooseSlot(int s, int slot);

    void paint(QPainter& p);

private:
    void showWeaponList(int s);
    void showTerrainList(int s);
    void hideLists();
    void updateSlotButtons();
    void loadPictures(int s);
    void writeBack() const;
    void paintSide(QPainter& p, int s);

    const GameDatabase& db_;
    std::array<CombatSide, 2> sides_;
    std::array<QImage, 2> pictures_, typeIcons_;
    QImage background_;
    QImage iconSheet_;
    QWidget* canvas_ = nullptr;
    QListWidget* weaponList_ = nullptr;
    QListWidget* terrainList_ = nullptr;
    int listSide_ = 0;
    bool filling_ = false;
    std::array<std::array<QPushButton*, 5>, 2> slotButtons_{};
};

}  // namespace kv
