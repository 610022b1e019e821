// The windows of the troop tools: the chooser that asks what to do at a hex, the troop property
// dialog ("PropartyTroop"), the armament change ("ArmChange") and the troop details; and the
// hooks that hand them to the troop tools.
#pragma once

#include <QPoint>

#include <vector>

#include "framework/window.h"
#include "view/troop_tools.h"

namespace kv {

class MapDocument;

// A list on white at the cursor: headings greyed, the chosen line taken at a click.
class TroopChooser : public Dialog {
public:
    static constexpr int kTemplateId = 201;
    enum Control : int { kIdList = 1000 };
    TroopChooser(Window* owner, std::vector<TroopChooserEntry> entries, QPoint globalTopLeft);
    int onInitDialog() override;
    // The index of the entry chosen, -1 when the chooser closed without one.
    int chosen = -1;
    void choose(int row);

private:
    std::vector<TroopChooserEntry> entries_;
    QPoint at_;
};

// The troop's properties, checked on OK in the order the core gives and stored as one step.
class TroopPropertyDialog : public Dialog {
public:
    static constexpr int kTemplateId = 202;
    enum Control : int {
        kIdWeapon = 1000,
        kIdName,
        kIdExperience,
        kIdLevel,
        kIdUnits,
        kIdTurn,
        kIdNoCondition,
        kIdTransport,
        kIdDestCol,
        kIdDestRow,
        kIdAnnihilation,
    };
    TroopPropertyDialog(Window* owner, MapDocument& doc, int table, int slot);
    int onInitDialog() override;
    int onCommand(MessageRecord& m, int id, int code) override;
    // The level shown beside an experience value.
    static std::string levelText(const QString& experience);

private:
    bool reinforcement() const;
    void enableDestination();
    MapDocument& doc_;
    int table_, slot_;
    bool filling_ = false;
};

// One button per armament group the troop's weapon has; `group` holds the one chosen.
class ArmamentChangeDialog : public Dialog {
public:
    static constexpr int kTemplateId = 203;
    static constexpr int kIdFirstGroup = 1000;
    ArmamentChangeDialog(Window* owner, const MapDocument& doc, int weaponId, int current);
    int onInitDialog() override;
    int onCommand(MessageRecord& m, int id, int code) override;
    int group = -1;

private:
    const MapDocument& doc_;
    int weaponId_, current_;
};

// The hooks of the troop tools: the chooser at the cursor and the dialogs of the troop menu,
// each holding `interactionBusy` while it is open.
TroopToolHooks troopToolHooks(Window* owner, MapDocument& doc);

}  // namespace kv
