// "マップ設定": the scenario's map-wide values and, three at a time, the six factions: taking
// part, name, product type, funds, limits, shares, behaviour, anthem and alliances. It works on
// a copy of the settings and hands them to the document as one edit on OK.
#pragma once

#include <array>
#include <memory>

#include "document/map_settings.h"
#include "framework/window.h"

namespace kv {

class AnthemPreview;
class MapDocument;

class MapSettingsDialog : public Dialog {
public:
    static constexpr int kTemplateId = 111;
    static constexpr int kWidth = 760, kHeight = 646;
    static constexpr int kRows = 3;
    // Faction controls: id + r for row r (the alliance boxes id + 6r + j; the division
    // limits id + 3r + d).
    enum Control : int {
        kIdMapName = 1001,
        kIdDifficulty = 1003,
        kIdTurnLimit = 1005,
        kIdColourWord = 1025,
        kIdParticipation = 1109,
        kIdFactionName = 1115,
        kIdProductType = 1121,
        kIdFunds = 1127,
        kIdFundsLimit = 1133,
        kIdRegiments = 1140,
        kIdUnits = 1150,
        kIdUserRegiments = 1252,
        kIdUserUnits = 1258,
        kIdProductionLimit = 1264,
        kIdAnthem = 1270,
        kIdBehaviour = 1276,
        kIdFirstAlliance = 1282,
        kIdShareTotal = 1318,
        kIdAirShare = 1336,
        kIdLandShare = 1342,
        kIdSeaShare = 1348,
        kIdPreset = 1354,
        kIdOkButton = 1366,
        kIdCancelButton = 1367,
        kIdPlayAnthem = 1368,
        kIdMessage = 1375,
        kIdRules = 1379,
        kIdVictory = 1380,
        kIdIncomeOn = 1385,
        kIdIncomeOff = 1386,
        kIdSettingsFree = 1388,
        kIdSettingsLocked = 1389,
        kIdTabs = 1390,
        kIdOperationRank = 1392,
    };

    MapSettingsDialog(Window* owner, MapDocument& doc);
    ~MapSettingsDialog() override;
    int onInitDialog() override;
    int onCommand(MessageRecord& m, int id, int code) override;

    // The settings as the dialog holds them now (the shown rows as last written back).
    const MapSettings& settings() const { return settings_; }
    const AllianceGroups& allianceGroups() const { return groups_; }
    int shownTab() const { return tab_; }

private:
    void addMapControls();
    void addRow(int r);
    void fillMap();
    void fillRow(int r);
    void enableRow(int r);
    void showAlliances();
    void storeRow(int r);
    bool checkShownRows();
    void showTotal(int r);
    void tabChanged(int tab);
    void participationChanged(int r);
    void allianceClicked(int r, int j);
    void presetChosen(int r);
    void openRules();
    void openVictory();
    void playAnthem(int r);
    void accept();
    void cancel();
    bool warn(const std::string& text);
    int slotOf(int r) const { return r + kRows * tab_; }
    uint8_t participating() const { return participatingSlots(settings_.factions); }

    MapDocument& doc_;
    MapSettings settings_;
    std::array<FactionNumbers, kFactionCount> numbers_{};
    AllianceGroups groups_{};
    std::unique_ptr<AnthemPreview> anthem_;
    int tab_ = 0;
    bool filling_ = false;
};

}  // namespace kv
