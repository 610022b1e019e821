// "キャンペーン編集": chains scenario maps into a campaign by their victory, draw and defeat
// links, shows the selected map, and saves the campaign file; with it the link diagram and
// "マップ選択", the choice among the maps read from an opened campaign.
#pragma once

#include <QString>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/link_diagram.h"
#include "app/map_file_filters.h"
#include "framework/window.h"
#include "scenario/campaign_file.h"

class QComboBox;

namespace kv {

class MapDocument;

inline constexpr MapFileFilter kCampaignFilter{"ケステルｿﾞﾙﾃｱｷｬﾝﾍﾟｰﾝﾃﾞｰﾀ(*.kvc)", "*.kvc"};

// The editor's private message, posted by the link diagram when the user picks a map:
// wParam the slot + kMapItemBase, lParam the tree item.
namespace campaignmsg {
constexpr uint32_t DiagramSelection = 1129;
}

// "マップ選択": one of the map copies read from the opened campaign.
class MapChoiceDialog : public Dialog {
public:
    enum Control : int { kIdList = 1000 };
    MapChoiceDialog(Window* owner, const std::vector<LoadedCampaignMap>& loaded);
    int onInitDialog() override;
    void exchangeData(bool toObject) override;
    int chosen = -1;  // after OK: the copy's index

private:
    const std::vector<LoadedCampaignMap>& loaded_;
};

class CampaignEditor : public Dialog {
public:
    static constexpr int kTemplateId = 106;
    enum Control : int {
        kIdName = 1001,
        kIdThumbnail = 1002,
        kIdMapName = 1004,
        kIdDescription = 1010,
        kIdSave = 1011,
        kIdClose = 1012,
        kIdLinkedFromLabel = 1019,
        kIdLinkedFrom = 1020,
        kIdVictoryLabel = 1021,
        kIdVictory = 1022,
        kIdDrawLabel = 1023,
        kIdDraw = 1024,
        kIdDefeatLabel = 1025,
        kIdDefeat = 1026,
        kIdLoadMap = 1027,
        kIdRankLabel = 1031,
        kIdRank = 1032,
    };
    // The link combos' item data besides "終了" (0), "エンディング" (1) and "リトライ" (2).
    static constexpr int kAddMapChoice = 3, kLinkChoiceBase = 100, kCopyChoiceBase = 200;
    static constexpr int kThumbnailSize = 144;

    // An empty `path` edits a new campaign; otherwise the campaign file is read (a file that
    // does not read leaves an empty campaign, and the user is told). `doc` lends the game data
    // with which the thumbnails are drawn.
    CampaignEditor(Window* owner, const MapDocument& doc, std::string path = {});
    ~CampaignEditor() override;

    int onInitDialog() override;
    int onCommand(MessageRecord& m, int id, int code) override;
    int onMessage(MessageRecord& m) override;

    // Selects a used slot's map: shows it, refreshes the links and the list, and tells the
    // diagram. Another slot clears the selection.
    void selectMap(int slot);
    // Saves through the save dialog; false when anything stopped it.
    bool save();

    const CampaignData& data() const { return data_; }
    const CampaignSources& sources() const { return sources_; }
    const std::vector<LoadedCampaignMap>& loadedMaps() const { return loaded_; }
    int selectedMap() const { return selected_; }
    bool modified() const { return modified_; }
    const std::string& path() const { return path_; }
    LinkDiagram& diagram() { return diagram_; }

private:
    struct CheckedMap {
        std::string bytes;
        std::string name;  // CP932, from the map's header
    };
    void fillLinks();
    void fillLinkCombo(int kind);
    void fillRank();
    void fillLinkedFrom();
    void showSelectedMap();
    void updateSave();
    void setModified();
    void linkChosen(int kind);
    void loadMapButton();
    bool chooseLoadedCopy();
    std::optional<CheckedMap> openMapFile(std::string& path);
    std::optional<CheckedMap> checkMap(std::string bytes);
    int targetOfReplacement();
    int firstFreeSlot() const;
    void recomputePlaced();
    bool closeAllowed();
    std::optional<std::string> nameBytes();
    std::string nameText() const;
    void placeBesideOwner();
    void openDiagram();

    const MapDocument& doc_;
    std::unique_ptr<MapDocument> scratch_;  // reads the maps shown and checked
    std::string path_;
    CampaignData data_;
    CampaignSources sources_;
    std::vector<LoadedCampaignMap> loaded_;
    std::string openedName_;  // the name's stored bytes, kept while the edit shows them
    int selected_ = -1;
    bool modified_ = false;
    bool filling_ = false;
    LinkDiagram diagram_;
};

}  // namespace kv
