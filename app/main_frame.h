// The top-level window: menu bar, accelerators, the map view as its client, the title,
// and the orderly shut-down.
#pragma once

#include <QAction>
#include <QMenu>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "app/autosave.h"
#include "app/command_ids.h"
#include "app/tool_windows.h"
#include "document/terrain_rules.h"
#include "framework/window.h"
#include "view/map_view.h"
#include "view/terrain_tools.h"
#include "view/window_messages.h"

namespace kv {

class MapDocument;
struct EditChange;

class MainFrame : public FrameWindow, public MapViewHost {
public:
    static constexpr const char* kClassName = "KVORNME_MAINWINDOW_CNAME";
    // Undo steps kept unless the settings say otherwise.
    static constexpr int kUndoDepth = 100;
    static constexpr int kAutosavePollMs = 10000;
    static constexpr const char* kBaseTitle = "ケステルゾルテア マップエディタ";

    explicit MainFrame(MapDocument& document);
    ~MainFrame() override;

    bool create() override;
    int onMessage(MessageRecord& m) override;
    int onCommand(MessageRecord& m, int id, int code) override;

    // The title for the document's map name and file path.
    static std::string titleFor(const MapDocument& doc);
    void rebuildTitle();
    // Asks whether to save a changed map; false when the user cancelled.
    bool confirmSave();
    // Saves the intermediate file under a new name; true when it saved.
    bool saveIntermediateAs();
    // Saves the intermediate file under the current path (Ctrl+S).
    void saveIntermediate();
    // Saves as a normal (false) or scenario (true) map file after the map check.
    void saveMapAs(bool scenario);
    void openMap();
    // Loads a map file the way Open does once a file is chosen.
    bool openMapFile(const std::string& path);
    // Imports a map of an earlier edition the way its open command does once a file is chosen.
    void openEarlierFile(const std::string& path);
    ToolWindows& tools() { return tools_; }
    MapDocument& document() { return doc_; }
    // The terrain palette's choice, which the terrain tools paint with.
    TerrainBrush& terrainBrush() { return terrainBrush_; }
    // At start: when the last run left an autosave, asks whether to restore it and does.
    // True when the autosaved map is open now.
    bool offerRecovery();
    Autosave* autosave() const { return autosave_.get(); }
    // Undoes or redoes until `doneSteps` steps are done (the history window's rows); nothing
    // while a troop is being moved.
    void walkHistory(int doneSteps);
    // The menu state for the document as it is now.
    void updateMenus(QMenu* menu);

    MapView* mapView() const { return mapView_; }
    // The map view's reports. The hex under the mouse is kept for the tool window's
    // coordinate display.
    void hexUnderMouse(HexPos hex) override {
        mouseHex_ = hex;
        tools_.post(ToolKind::ToolWindow, toolmsg::ShowHexCoordinates, uintptr_t(hex.col), hex.row);
    }
    void pasteStateChanged() override;
    // The HQ map follows the view: where it stands, and the hexes it redrew.
    void viewOriginChanged(HexPos) override { tools_.post(ToolKind::HqMap, hqmsg::ViewMoved); }
    void hexRedrawn(HexPos h) override {
        tools_.post(ToolKind::HqMap, hqmsg::RedrawHex, uintptr_t(h.col), h.row);
    }
    void manyHexesRedrawn() override { tools_.post(ToolKind::HqMap, hqmsg::Redraw); }
    std::optional<HexPos> mouseHex() const { return mouseHex_; }
    QAction* action(int id) const;
    QMenu* menu(cmd::Menu which) const;
    QWidget* imeHelper() const { return imeHelper_; }
    // The keys found set at start (the windows open them as they are built).
    const std::vector<std::string>& reopenedAtStart() const { return reopenedAtStart_; }

    bool savedScreenSaverActive = false;

private:
    void buildMenuBar();
    void buildAccelerators();
    void createImeHelper();
    void watchDisplay();
    // The screen changed its size: images of the new size, the whole map drawn again.
    void displayChanged();
    // Sizes the window so that its frame, decorations included, fills the work area.
    void fitFrameToWorkArea();
    void reopenToolWindows();
    void exitFlow();
    void startAutosave();
    // The map equals its file now (saved, loaded or new): no recovery is needed.
    void markClean();
    void newMap();
    void afterNewMapNotifications();
    void registerHandlers();
    void registerViewHandlers();
    void registerMapHandlers();
    void setZoom(int hexSize);
    void toggleViewFlag(uint8_t& flag, uint32_t toolMessage);
    void setUnitIcon(int value);
    void setEditModeCommand(int mode);
    void setToolValue(int& field, int value, uint32_t toolMessage, bool postPlace);
    void undoRedo(bool redo);
    void toggleTool(ToolKind kind);
    bool toolMessage(MessageRecord& m);
    void editModeChanged();
    // Redraws and notifies what an edit operation changed.
    void editApplied(const EditChange& change);
    void openEarlierEdition();
    void runBatchConversion();
    bool writeSafely(const std::function<void()>& write);

    MapDocument& doc_;
    MapView* mapView_ = nullptr;
    // The terrain piece the terrain tools paint; the right-button pick-up sets it.
    TerrainBrush terrainBrush_;
    TerrainToolHooks terrainToolHooks();
    QWidget* imeHelper_ = nullptr;
    std::map<int, QAction*> actions_;
    std::map<cmd::Menu, QMenu*> menus_;
    std::map<int, std::function<void()>> handlers_;
    std::vector<std::string> reopenedAtStart_;
    std::optional<HexPos> mouseHex_;
    ToolWindows tools_;
    std::unique_ptr<Autosave> autosave_;
    QMetaObject::Connection screenWatch_;
    bool frameFitted_ = false;  // fitted once the window manager's frame was known
};

}  // namespace kv
