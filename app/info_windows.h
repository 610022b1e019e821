// The information windows on the document and the game data: the troop table, the weapon
// list and weapon details, terrain information with its option window, the terrain move and
// avoid tables and transportable terrain.
#pragma once

#include <QLabel>

#include "app/info_list.h"

namespace kv {

// Every troop of the six factions; choosing one scrolls the map to it and flashes its hex.
class TroopTableWindow : public InfoListWindow {
public:
    static constexpr const char* kClassName = "KOBMEC_TROOPLISTWINDOW_CNAME";
    enum Control : int { kIdCount = 1000, kIdCompanion };
    explicit TroopTableWindow(MainFrame& frame);
    int onInitDialog() override;
    int onCommand(MessageRecord& m, int id, int code) override;
    int onMessage(MessageRecord& m) override;
    void toggleCompanion();
    CompanionWindow* companion() const { return openCompanion(); }

protected:
    InfoTable build() override;
    void rowChosen(int key) override;
    void rowActivated(int key) override;
    void fillCompanion(int key) override;
    QPoint defaultOffset() const override { return {60, 420}; }
};

// The weapons offered for a product type in one of four orders; a row opens its details.
class WeaponListWindow : public InfoListWindow {
public:
    static constexpr const char* kClassName = "KOBMEC_WEAPONLISTWINDOW_CNAME";
    enum Control : int { kIdProductType = 1000, kIdOrder0, kIdOrder1, kIdOrder2, kIdOrder3 };
    explicit WeaponListWindow(MainFrame& frame);
    int onInitDialog() override;
    int onCommand(MessageRecord& m, int id, int code) override;
    int onMessage(MessageRecord& m) override;
    // As a click on order button 0..3: sorts, or reverses when the order is already in force.
    void pressOrder(int order);

protected:
    InfoTable build() override;
    void rowActivated(int key) override;
    QPoint defaultOffset() const override { return {520, 120}; }

private:
    void fillProductTypes();
    void rebuildList();
    std::vector<int> numbers_;  // buildWeaponList's number of each combo entry
    bool filling_ = false;
};

// One weapon: its unit picture, every field and its armaments. Its close box posts the
// detail close message with its key; the transform button shows the linked weapon instead.
class WeaponDetailWindow : public Dialog {
public:
    static constexpr const char* kClassName = "KOBMEC_WEAPONINFOWINDOW_CNAME";
    enum Control : int { kIdPicture = 1000, kIdName, kIdFields, kIdArmaments, kIdTransform };
    WeaponDetailWindow(MainFrame& frame, int weaponId, int key);
    bool open();
    void destroy() override;
    int onInitDialog() override;
    int onCommand(MessageRecord& m, int id, int code) override;
    int weaponId() const { return weaponId_; }
    int key() const { return key_; }
    void showWeapon(int weaponId);
    InfoListView* fields() const { return fields_; }
    InfoListView* armaments() const { return armaments_; }

protected:
    QWidget* createWidget(QWidget* parentWidget) override;

private:
    MainFrame& frame_;
    int weaponId_;
    int key_;
    InfoListView* fields_ = nullptr;
    InfoListView* armaments_ = nullptr;
};

// The named terrain types with the columns "表示項目" chooses; a companion shows the chosen
// type in full.
class TerrainInfoWindow : public InfoListWindow {
public:
    static constexpr const char* kClassName = "KOBMEC_LANDLISTWINDOW_CNAME";
    enum Control : int { kIdOptions = 1000, kIdCompanion };
    explicit TerrainInfoWindow(MainFrame& frame);
    bool open();
    int onInitDialog() override;
    int onCommand(MessageRecord& m, int id, int code) override;
    void toggleCompanion();
    CompanionWindow* companion() const { return openCompanion(); }

protected:
    InfoTable build() override;
    void fillCompanion(int key) override;
    QPoint defaultOffset() const override { return {60, 100}; }
};

// The option window of terrain information: one check box per offered column.
class TerrainListOptionDialog : public Dialog {
public:
    static constexpr int kTemplateId = 160;
    static constexpr int kFirstCheck = 1000;  // + column
    TerrainListOptionDialog(Window* owner, uint32_t options);
    int onInitDialog() override;
    void exchangeData(bool toObject) override;
    uint32_t options;
};

// The terrain move table, the terrain avoid table and transportable terrain.
class TerrainTableWindow : public InfoListWindow {
public:
    static constexpr const char* kMoveClassName = "KOBMEC_LANDMOVELISTWINDOW_CNAME";
    static constexpr const char* kAvoidClassName = "KOBMEC_LANDAVOIDLISTWINDOW_CNAME";
    static constexpr const char* kTransportClassName = "KOBMEC_LANDTRANSPORTLISTWINDOW_CNAME";
    TerrainTableWindow(MainFrame& frame, ToolKind kind);

protected:
    InfoTable build() override;
    QPoint defaultOffset() const override;
};

}  // namespace kv
