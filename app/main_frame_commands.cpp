// The main frame's commands: a table of small handlers, the file flows, and the private
// messages it receives from the windows it owns.
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>

#include <algorithm>
#include <filesystem>
#include <tuple>

#include "app/batch_dialog.h"
#include "app/briefing_preview.h"
#include "app/campaign_dialog.h"
#include "app/combat_comparison_dialog.h"
#include "app/faction_colour_dialog.h"
#include "app/info_windows.h"
#include "app/main_frame.h"
#include "app/map_file_filters.h"
#include "app/map_open_dialog.h"
#include "app/map_settings_dialog.h"
#include "app/menu_state.h"
#include "app/product_type_editor.h"
#include "app/rule_editor.h"
#include "app/scenario_dialog.h"
#include "app/script_dialog.h"
#include "app/underlay_dialog.h"
#include "app/version_dialog.h"
#include "app/whole_map_dialogs.h"
#include "document/batch_conversion.h"
#include "document/bulk_edits.h"
#include "document/import.h"
#include "document/map_check.h"
#include "document/map_document.h"
#include "document/map_file.h"
#include "document/map_problem.h"
#include "framework/disk_file.h"
#include "framework/errors.h"
#include "framework/file_dialogs.h"
#include "framework/profile.h"
#include "framework/prompter.h"
#include "view/map_renderer.h"
#include "view/map_view.h"
#include "view/window_messages.h"

namespace kv {

namespace {

std::string folderOf(const std::string& path) {
    return std::filesystem::path(path).parent_path().string();
}

std::string baseName(const std::string& path) {
    return std::filesystem::path(path).stem().string();
}

bool fileThere(const std::string& path) {
    return !path.empty() && fileExists(path);
}

}  // namespace

void MainFrame::registerHandlers() {
    // Every edit of the document reaches the windows through editApplied.
    doc_.onEdited = [this](const EditChange& change) { editApplied(change); };
    handlers_[cmd::NewMap] = [this] { newMap(); };
    handlers_[cmd::Exit] = [this] { exitFlow(); };
    handlers_[cmd::OpenMap] = [this] { openMap(); };
    handlers_[cmd::SaveIntermediate] = [this] { saveIntermediate(); };
    handlers_[cmd::SaveIntermediateAs] = [this] { saveIntermediateAs(); };
    handlers_[cmd::SaveNormalMap] = [this] { saveMapAs(false); };
    handlers_[cmd::SaveScenarioMap] = [this] { saveMapAs(true); };
    handlers_[cmd::OpenEarlierEdition] = [this] {
        if (QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier) {
            runBatchConversion();
        } else {
            openEarlierEdition();
        }
    };
    handlers_[cmd::Undo] = [this] { undoRedo(false); };
    handlers_[cmd::Redo] = [this] { undoRedo(true); };
    handlers_[cmd::RunScript] = [this] {
        runScriptFromMenu(this, doc_, [this] { afterNewMapNotifications(); });
    };
    handlers_[cmd::About] = [this] {
        VersionDialog d(this);
        d.run();
    };
    handlers_[cmd::NewCampaign] = [this] {
        CampaignEditor d(this, doc_);
        d.run();
    };
    handlers_[cmd::EditCampaign] = [this] {
        FileDialogRequest r;
        r.kind = FileDialogRequest::Open;
        r.title = "ｷｬﾝﾍﾟｰﾝﾌｧｲﾙを開く";
        r.startFolder = readFolderKey("CampaignPath");
        r.filters = {dialogFilter(kCampaignFilter)};
        const std::optional<std::string> path = askForFile(r, this);
        if (!path) return;
        writeFolderKey("CampaignPath", folderOf(*path));
        CampaignEditor d(this, doc_, *path);
        d.run();
    };
    handlers_[cmd::OpenUnderlay] = [this] { openUnderlay(*this); };
    handlers_[cmd::PasteUnderlay] = [this] { pasteUnderlay(*this); };
    handlers_[cmd::MoveUnderlay] = [this] { moveUnderlay(*this); };
    handlers_[cmd::ExportBitmap] = [this] { exportBitmapFile(*this); };
    handlers_[cmd::CustomiseFactionColours] = [this] { customiseFactionColours(*this); };
    registerViewHandlers();
    registerMapHandlers();
    for (int k = 0; k < static_cast<int>(ToolKind::Count); ++k) {
        const ToolWindowInfo& info = toolInfo(static_cast<ToolKind>(k));
        if (info.menuId) handlers_[info.menuId] = [this, kind = info.kind] { toggleTool(kind); };
    }
}

void MainFrame::registerViewHandlers() {
    handlers_[cmd::Zoom16] = [this] { setZoom(16); };
    handlers_[cmd::Zoom32] = [this] { setZoom(32); };
    handlers_[cmd::Zoom48] = [this] { setZoom(48); };
    ViewSettings& v = doc_.viewSettings;
    const std::tuple<int, uint8_t*, uint32_t> flags[] = {
        {cmd::ShowHexFrame, &v.showHexFrame, toolmsg::ShowHexFrameChanged},
        {cmd::ShowTroops, &v.showTroops, toolmsg::ShowTroopsChanged},
        {cmd::ShowTerrainLabels, &v.showTerrainLabels, toolmsg::ShowTerrainLabelsChanged},
        {cmd::ShowVictoryLabels, &v.showVictoryLabels, toolmsg::ShowVictoryLabelsChanged},
        {cmd::ShowBorderlines, &v.showBorderlines, toolmsg::ShowBorderlinesChanged}};
    for (auto [id, flag, message] : flags)
        handlers_[id] = [this, flag = flag, message = message] { toggleViewFlag(*flag, message); };
    handlers_[cmd::UnitIconPictures] = [this] { setUnitIcon(1); };
    handlers_[cmd::UnitIconWeaponTypes] = [this] { setUnitIcon(0); };
    const std::pair<int, int> modes[] = {{cmd::TerrainMode, kEditTerrain},
                                         {cmd::TroopMode, kEditTroops},
                                         {cmd::LabelMode, kEditLabels},
                                         {cmd::BorderMode, kEditBorderlines},
                                         {cmd::ReinforcementMode, kEditReinforcements},
                                         {cmd::LabelModeAlt1, kEditLabels},
                                         {cmd::LabelModeAlt2, kEditLabels}};
    for (auto [id, mode] : modes) handlers_[id] = [this, mode = mode] { setEditModeCommand(mode); };
    const std::pair<int, int> drawKinds[] = {
        {cmd::DrawPen, kDrawPen},   {cmd::DrawLine, kDrawLine},
        {cmd::DrawBox, kDrawBox},   {cmd::DrawFlood, kDrawFlood},
        {cmd::DrawCopy, kDrawCopy}, {cmd::DrawDeleteLinks, kDrawDeleteLinks}};
    for (auto [id, kind] : drawKinds)
        handlers_[id] = [this, kind = kind] {
            // A copied area waiting to be pasted is given up with its draw kind.
            if (mapView_ && kind != doc_.tool.drawKind) mapView_->tools().reset(*mapView_);
            setToolValue(doc_.tool.drawKind, kind, toolmsg::DrawKindChanged, false);
        };
    for (auto [id, kind] : {std::pair{cmd::PenSingle, 0}, std::pair{cmd::PenMega, 1}})
        handlers_[id] = [this, kind = kind] {
            setToolValue(doc_.tool.penKind, kind, toolmsg::PenKindChanged, false);
        };
    // Placing and deleting drop a troop picked up for a move.
    for (auto [id, kind] : {std::pair{cmd::TroopPlace, 0}, std::pair{cmd::TroopMove, 1},
                            std::pair{cmd::TroopDelete, 2}})
        handlers_[id] = [this, kind = kind] {
            setToolValue(doc_.tool.troopDrawKind, kind, toolmsg::TroopDrawKindChanged, kind != 1);
        };
    for (auto [id, method] :
         {std::pair{cmd::DrawUnderlayOnly, kUnderlayOnly}, std::pair{cmd::DrawMapOnly, kMapOnly},
          std::pair{cmd::DrawTransparent, kTransparent}})
        handlers_[id] = [this, method = method] {
            setToolValue(doc_.tool.mapDrawMethod, method, toolmsg::MapDrawMethodChanged, false);
            postMessage(mapView_, viewmsg::Redraw);
        };
}

void MainFrame::registerMapHandlers() {
    // The dialog's OK stores the texts as one edit; the previews only show them.
    handlers_[cmd::ScenarioSettings] = [this] {
        ScenarioTextDialog d(this, doc_);
        d.run();
    };
    handlers_[cmd::BriefingPreview] = [this] {
        BriefingPreview d(this, doc_);
        d.run();
    };
    handlers_[cmd::EndingPreview] = [this] {
        EndingPreview d(this, doc_);
        d.run();
    };
    handlers_[cmd::MapCheck] = [this] {
        std::vector<std::string> lines;
        for (const MapProblem& p : checkMap(doc_)) lines.push_back(p.text);
        MapCheckDialog d(this, lines);
        d.run();
    };
    // The edits tell the windows through editApplied; what is left here is each command's own.
    handlers_[cmd::MapSize] = [this] {
        MapSizeDialog d(this, doc_.width(), doc_.height(),
                        [this](int w, int h, int anchor) { changeMapSize(doc_, w, h, anchor); });
        if (!d.run() || d.result != kIdOk) return;
        // The overview's picture has the size of the map.
        if (tools_.isOpen(ToolKind::HqMap)) {
            tools_.close(ToolKind::HqMap);
            tools_.open(ToolKind::HqMap);
        }
    };
    handlers_[cmd::PackTroopNumbers] = [this] {
        const CursorShape previous = beginBusy();
        packTroopNumbers(doc_);
        endBusy(previous);
    };
    handlers_[cmd::ExchangeFactionColours] = [this] {
        FactionExchangeDialog d(this);
        if (!d.run() || d.result != kIdOk) return;
        postMessage(mapView_, viewmsg::RemoveUnderlay);
        exchangeFactions(doc_, d.first, d.second);
    };
    handlers_[cmd::MapSettings] = [this] {
        MapSettingsDialog d(this, doc_);
        if (d.run() && d.result == kIdOk) postMessage(this, mainmsg::RebuildTitle);
    };
    handlers_[cmd::CombatComparison] = [this] {
        CombatComparisonDialog d(this, doc_.gameDatabase);
        d.run();
    };
    handlers_[cmd::EditRules] = [this] {
        RuleEditorDialog d(this, doc_.gameDatabase);
        d.run();
    };
    handlers_[cmd::EditProductTypes] = [this] {
        ProductTypeEditor d(this, doc_.gameDatabase);
        d.run();
        tools_.post(ToolKind::TroopPalette, trooppalettemsg::ProductTypesChanged);
        tools_.post(ToolKind::WeaponList, weaponlistmsg::ProductTypesChanged);
    };
}

void MainFrame::editApplied(const EditChange& c) {
    if (c.newSize) {
        postMessage(mapView_, viewmsg::NewMap);
    } else if (c.wholeMap) {
        postMessage(mapView_, viewmsg::Redraw);
        tools_.post(ToolKind::HqMap, hqmsg::Redraw);
    } else if (mapView_ && !c.hexes.empty()) {
        for (const HexPos& h : c.hexes) mapView_->queueHex(h.col, h.row);
        mapView_->flushChangedHexes();
    }
    const bool whole = c.newSize || c.wholeMap;
    if (whole || c.buildings) tools_.post(ToolKind::BuildingCount, buildingmsg::Recount);
    if (whole || c.labels) tools_.post(ToolKind::TerrainLabelList, labellistmsg::Redraw);
    if (whole || c.troops) {
        tools_.post(ToolKind::TroopTable, trooptablemsg::Redraw);
        tools_.post(ToolKind::TroopLabelList, labellistmsg::Redraw);
    }
    if (c.organisation) tools_.post(ToolKind::TroopPalette, trooppalettemsg::NewTroops);
    tools_.post(ToolKind::UndoHistory, historymsg::Refresh);
    tools_.post(ToolKind::Problems, problemsmsg::Recheck);
    if (autosave_) autosave_->noteEdit();
}

// --- view and tool settings ------------------------------------------------------------------

void MainFrame::setZoom(int size) {
    const int current = doc_.viewSettings.hexSize >= 48   ? 48
                        : doc_.viewSettings.hexSize >= 32 ? 32
                                                          : 16;
    if (current == size) return;  // the active zoom: nothing at all
    doc_.viewSettings.hexSize = size;
    doc_.viewSettings.redrawGrid.markAllDirty();
    postMessage(mapView_, viewmsg::RebuildSheets);
    postMessage(mapView_, viewmsg::Redraw);
    tools_.post(ToolKind::HqMap, hqmsg::ViewMoved);
    tools_.post(ToolKind::ToolWindow, toolmsg::HexSizeChanged);
}

void MainFrame::toggleViewFlag(uint8_t& flag, uint32_t message) {
    flag = flag == 1 ? 0 : 1;
    doc_.viewSettings.redrawGrid.markAllDirty();
    postMessage(mapView_, viewmsg::Redraw);
    tools_.post(ToolKind::ToolWindow, message);
}

void MainFrame::setUnitIcon(int value) {
    if (doc_.viewSettings.showUnitIcon == value) return;
    doc_.viewSettings.showUnitIcon = static_cast<uint8_t>(value);
    postMessage(mapView_, viewmsg::RebuildSheets);
    doc_.viewSettings.redrawGrid.markAllDirty();
    postMessage(mapView_, viewmsg::Redraw);
    tools_.post(ToolKind::ToolWindow, toolmsg::RefreshUnitPreview);
}

void MainFrame::setEditModeCommand(int mode) {
    const int before = doc_.tool.editMode;
    if (mapView_) mapView_->tools().reset(*mapView_);
    doc_.setEditMode(mode);
    tools_.post(ToolKind::ToolWindow, toolmsg::EditModeChanged);
    tools_.post(ToolKind::ToolWindow, toolmsg::DrawKindChanged);
    if (doc_.tool.editMode != before) postMessage(this, mainmsg::EditModeChanged);
}

void MainFrame::setToolValue(int& field, int value, uint32_t message, bool postPlace) {
    field = value;
    if (postPlace) postMessage(mapView_, viewmsg::CancelTroopSelection);
    tools_.post(ToolKind::ToolWindow, message);
}

void MainFrame::undoRedo(bool redo) {
    if (doc_.tool.interactionBusy) return;  // a troop is being moved
    if (redo) {
        doc_.history.redo();
    } else {
        doc_.history.undo();
    }
}

void MainFrame::walkHistory(int doneSteps) {
    if (doc_.tool.interactionBusy) return;
    const UndoHistory& h = doc_.history;
    const int target = std::max(0, doneSteps);
    while (int(h.doneSteps().size()) > target && h.canUndo()) doc_.history.undo();
    while (int(h.doneSteps().size()) < target && h.canRedo()) doc_.history.redo();
}

// --- modeless windows ------------------------------------------------------------------------

void MainFrame::toggleTool(ToolKind kind) {
    if (tools_.isOpen(kind)) {
        tools_.close(kind);
    } else {
        tools_.open(kind);
    }
    if (const uint32_t m = toolInfo(kind).toolMessage) tools_.post(ToolKind::ToolWindow, m);
}

bool MainFrame::toolMessage(MessageRecord& m) {
    if (m.message == mainmsg::OpenWeaponDetail) {
        tools_.openWeaponDetail(static_cast<int>(m.wParam));
        return true;
    }
    if (m.message == mainmsg::CloseWeaponDetail) {
        tools_.closeWeaponDetail(static_cast<int>(m.wParam));
        return true;
    }
    if (m.message == mainmsg::ToggleTroopTableCompanion) {
        if (auto* w = dynamic_cast<TroopTableWindow*>(tools_.window(ToolKind::TroopTable)))
            w->toggleCompanion();
        return true;
    }
    if (m.message == mainmsg::ToggleTerrainInfoCompanion) {
        if (auto* w = dynamic_cast<TerrainInfoWindow*>(tools_.window(ToolKind::TerrainInfo)))
            w->toggleCompanion();
        return true;
    }
    bool opens = false;
    const std::optional<ToolKind> kind = toolByMessage(m.message, opens);
    if (!kind) return false;
    const ToolWindowInfo& info = toolInfo(*kind);
    if (opens) {
        tools_.open(*kind);
    } else {
        tools_.close(*kind);
    }
    // Windows closed from their own close box say so and the tool window's button follows (the
    // borderline and mine palettes on any non-zero wParam). Some windows always tell it when
    // they open.
    const bool tell = (opens && info.openPostsToolMessage) || m.wParam == mainmsg::FromCloseBox ||
                      ((*kind == ToolKind::BorderPalette || *kind == ToolKind::MinePalette) &&
                       !opens && m.wParam != 0);
    if (tell && info.toolMessage) tools_.post(ToolKind::ToolWindow, info.toolMessage);
    return true;
}

void MainFrame::editModeChanged() {
    // Each palette shows in its own mode; windows that are closed stay closed.
    auto show = [this](ToolKind k, bool visible) {
        if (Window* w = tools_.window(k))
            if (w->handle()) w->handle()->setVisible(visible);
    };
    show(ToolKind::TerrainPalette, doc_.tool.editMode == kEditTerrain);
    show(ToolKind::TroopPalette,
         doc_.tool.editMode == kEditTroops || doc_.tool.editMode == kEditReinforcements);
    show(ToolKind::BorderPalette, doc_.tool.editMode == kEditBorderlines);
    show(ToolKind::MinePalette, false);
    doc_.tool.minePlacement = 0;
    doc_.viewSettings.redrawGrid.markAllDirty();
    postMessage(mapView_, viewmsg::Redraw);
    tools_.post(ToolKind::TroopTable, trooptablemsg::EditModeChanged);
}

// --- menus -----------------------------------------------------------------------------------

void MainFrame::updateMenus(QMenu*) {
    MenuInputs in;
    in.documentOpen = doc_.documentOpen == 1;
    in.interactionBusy = doc_.tool.interactionBusy != 0;
    in.areaSelectActive = doc_.tool.areaSelectActive != 0;
    in.isClean = doc_.isClean != 0;
    in.filePath = doc_.filePath;
    in.fileExists = fileThere(doc_.filePath);
    const QMimeData* clip = QApplication::clipboard()->mimeData();
    in.clipboardHasBitmap = clip && clip->hasImage();  // asking does not convert the picture
    if (mapView_) {
        const QSize u = mapView_->renderer().underlaySize();
        in.underlayLoaded = u.width() > 0 && u.height() > 0;
    }
    in.canUndo = doc_.history.canUndo();
    in.canRedo = doc_.history.canRedo();
    in.scenarioHasEnding =
        doc_.scenarioTexts.bytes[ScenarioTexts::kFields[ScenarioTexts::EndingBody].offset] != 0;
    in.editMode = doc_.tool.editMode;
    in.drawKind = doc_.tool.drawKind;
    in.penKind = doc_.tool.penKind;
    in.troopDrawKind = doc_.tool.troopDrawKind;
    in.mapDrawMethod = doc_.tool.mapDrawMethod;
    const ViewSettings& v = doc_.viewSettings;
    in.hexSize = v.hexSize;
    in.showHexFrame = v.showHexFrame == 1;
    in.showTroops = v.showTroops == 1;
    in.showTerrainLabels = v.showTerrainLabels == 1;
    in.showVictoryLabels = v.showVictoryLabels == 1;
    in.showBorderlines = v.showBorderlines == 1;
    in.showUnitIcon = v.showUnitIcon;
    for (int k = 0; k < static_cast<int>(ToolKind::Count); ++k)
        if (tools_.isOpen(static_cast<ToolKind>(k)))
            in.openWindows.insert(toolInfo(static_cast<ToolKind>(k)).menuId);
    const MenuState state = computeMenuState(in);
    for (const auto& [id, item] : state.items) {
        if (QAction* a = action(id)) {
            a->setEnabled(item.enabled);
            if (a->isCheckable()) a->setChecked(item.checked);
        }
    }
    for (const auto& [which, enabled] : state.menusEnabled)
        if (QMenu* sub = menu(which)) sub->menuAction()->setEnabled(enabled);
}

// --- file flows ------------------------------------------------------------------------------

bool MainFrame::confirmSave() {
    if (doc_.documentOpen != 1 || doc_.isClean != 0) return true;
    ConfirmSaveDialog d(this);
    d.run();
    if (d.result == kIdCancel) return false;
    if (d.result == kIdYes) return saveIntermediateAs();
    return true;  // kIdNo
}

bool MainFrame::writeSafely(const std::function<void()>& write) {
    try {
        write();
        return true;
    } catch (const swCError& e) {
        e.report(this);
        return false;
    }
}

bool MainFrame::saveIntermediateAs() {
    FileDialogRequest r;
    r.kind = FileDialogRequest::Save;
    r.title = "中間ﾌｧｲﾙで名前を付けて保存";
    r.startFolder = readFolderKey("TmpPath");
    r.filters = {dialogFilter(kIntermediateFilter)};
    r.defaultSuffix = "kvt";
    const std::optional<std::string> path = askForFile(r, this);
    if (!path) return false;
    if (fileExists(*path) &&
        showMessage("確認", "同じ名前のファイルが存在しています。\n上書きしますか？",
                    PromptIcon::Question, PromptButtons::YesNo, this) != PromptAnswer::Yes)
        return false;
    writeFolderKey("TmpPath", folderOf(*path));
    if (!writeSafely([&] { writeMapFile(doc_, *path, MapFileKind::Intermediate); })) return false;
    postMessage(this, mainmsg::RebuildTitle);
    markClean();
    tools_.post(ToolKind::WeaponList, weaponlistmsg::MapFileChanged);
    return true;
}

void MainFrame::saveIntermediate() {
    std::string path = doc_.filePath;
    if (path.empty()) {
        saveIntermediateAs();
        return;
    }
    if (path.size() < 3 || path.compare(path.size() - 3, 3, "kvt") != 0) {
        char question[1024];
        std::snprintf(question, sizeof question, "中間ファイル %s.%s として保存しますか？",
                      baseName(path).c_str(), "kvt");
        if (showMessage("確認", question, PromptIcon::Question, PromptButtons::YesNo, this) ==
            PromptAnswer::Yes)
            path.replace(path.size() - std::min<size_t>(3, path.size()), 3, "kvt");
    }
    if (!writeSafely([&] { writeMapFile(doc_, path, MapFileKind::Intermediate); })) return;
    postMessage(this, mainmsg::RebuildTitle);
    markClean();
    tools_.post(ToolKind::WeaponList, weaponlistmsg::MapFileChanged);
}

void MainFrame::saveMapAs(bool scenario) {
    const std::vector<MapProblem> problems = checkMap(doc_);
    if (!problems.empty()) {
        std::vector<std::string> lines;
        for (const MapProblem& p : problems) lines.push_back(p.text);
        MapCheckDialog d(this, lines);
        d.run();
        return;
    }
    const bool hasTexts = !doc_.scenarioTexts.isEmpty();
    if (scenario && !hasTexts &&
        showMessage(
            "確認",
            "シナリオ設定が入力されていないデータを、シナリオデータとして保存しようとしています。"
            "\nよろしいですか？",
            PromptIcon::Question, PromptButtons::YesNo, this) != PromptAnswer::Yes)
        return;
    if (!scenario && hasTexts &&
        showMessage(
            "確認",
            "シナリオ設定が入力されているデータを、マップデータとして保存しようとしています。"
            "\nシナリオ設定は保存されませんが、よろしいですか？",
            PromptIcon::Question, PromptButtons::YesNo, this) != PromptAnswer::Yes)
        return;
    doc_.prepareForSave();
    FileDialogRequest r;
    r.kind = FileDialogRequest::Save;
    r.title = scenario ? "ｼﾅﾘｵﾏｯﾌﾟﾌｧｲﾙとして保存" : "ﾉｰﾏﾙﾏｯﾌﾟﾌｧｲﾙとして保存";
    r.startFolder = readFolderKey("MapPath");
    r.filters = {dialogFilter(scenario ? kScenarioMapFilter : kNormalMapFilter)};
    r.defaultSuffix = scenario ? "kvs" : "kvn";
    const std::optional<std::string> path = askForFile(r, this);
    if (!path) return;
    if (fileExists(*path) &&
        showMessage("確認", "同じ名前のファイルが存在しています。\n上書きしますか？",
                    PromptIcon::Question, PromptButtons::YesNo, this) != PromptAnswer::Yes)
        return;
    writeFolderKey("MapPath", folderOf(*path));
    // The file path and the clean flag stay as they are: this map is not the one edited.
    const std::string keepPath = doc_.filePath;
    const MapFileKind kind = scenario ? MapFileKind::Scenario : MapFileKind::Normal;
    if (writeSafely([&] { writeMapFile(doc_, *path, kind); })) {
        postMessage(this, mainmsg::RebuildTitle);
        tools_.post(ToolKind::WeaponList, weaponlistmsg::MapFileChanged);
    }
    doc_.filePath = keepPath;
}

bool MainFrame::openMapFile(const std::string& path) {
    const bool loaded = loadMapFile(doc_, path);
    doc_.filePath = loaded ? path : std::string();
    postMessage(this, mainmsg::RebuildTitle);
    markClean();
    if (doc_.tool.editMode == kEditReinforcements) doc_.rebuildReinforcementIndex();
    afterNewMapNotifications();
    tools_.post(ToolKind::WeaponList, weaponlistmsg::MapFileChanged);
    return loaded;
}

void MainFrame::openMap() {
    if (!confirmSave()) return;
    MapOpenDialog d(this, readFolderKey("MapPath"));
    if (!d.run() || d.result != kIdOk || d.chosenPath.empty()) return;
    openMapFile(d.chosenPath);
}

void MainFrame::openEarlierEdition() {
    if (!confirmSave()) return;
    FileDialogRequest r;
    r.kind = FileDialogRequest::Open;
    r.title = kEarlierMapDialogTitle;
    r.startFolder = readFolderKey(kEarlierMapFolderKey);
    for (const EarlierMapFilter& f : kEarlierMapFilters)
        r.filters.emplace_back(f.label, f.patterns);
    r.filterIndex = std::max(0, readEnvInt("FilterIndex") - 1);
    const std::optional<std::string> path = askForFile(r, this);
    if (!path) return;
    writeEnvInt("FilterIndex", r.filterIndex + 1);
    writeFolderKey(kEarlierMapFolderKey, folderOf(*path));
    openEarlierFile(*path);
}

void MainFrame::openEarlierFile(const std::string& path) {
    openEarlierMap(doc_, path);
    afterNewMapNotifications();
    doc_.isClean = 0;
}

void MainFrame::runBatchConversion() {
    // The batch converts through the document: the map being edited goes first.
    if (!confirmSave()) return;
    BatchDialog d(this, doc_);
    d.run();
    if (!d.started) return;
    // What the batch left in the document is no map of the user's: edit a new one.
    doc_.resetToNewMap();
    afterNewMapNotifications();
    markClean();
}

void MainFrame::exitFlow() {
    if (!confirmSave()) return;
    // Whatever was not saved the user chose to drop.
    if (autosave_) autosave_->discard();
    destroy();
}

void MainFrame::markClean() {
    doc_.isClean = 1;
    if (autosave_) autosave_->discard();
}

bool MainFrame::offerRecovery() {
    if (!autosave_) return false;
    const std::optional<Autosave::Recovery> r = Autosave::find(autosave_->folder());
    if (!r) return false;
    const std::string name = r->mapName.empty() ? std::string("無題") : r->mapName;
    if (showMessage("自動保存からの復元",
                    "「" + name + "」の自動保存（" + r->savedAt +
                        "）が残っています。\n前回は正しく終了しませんでした。復元しますか？",
                    PromptIcon::Question, PromptButtons::YesNo, this) != PromptAnswer::Yes) {
        Autosave::remove(autosave_->folder());
        return false;
    }
    autosave_->adopt();
    bool loaded = false;
    try {
        loaded = loadMapFile(doc_, r->mapPath);
    } catch (const swCError& e) {
        e.report(this);
    }
    if (!loaded) {
        doc_.resetToNewMap();
        afterNewMapNotifications();
        markClean();
        showMessage("自動保存からの復元", "自動保存ファイルを読み込めませんでした。\n" + r->mapPath,
                    PromptIcon::Exclamation, PromptButtons::Ok, this);
        return false;
    }
    // An unsaved map that saves where it came from; the recovery stays until then.
    doc_.filePath = r->originalPath;
    if (doc_.tool.editMode == kEditReinforcements) doc_.rebuildReinforcementIndex();
    afterNewMapNotifications();
    doc_.isClean = 0;
    autosave_->noteEdit();
    return true;
}

void MainFrame::newMap() {
    if (!confirmSave()) return;
    doc_.resetToNewMap();
    afterNewMapNotifications();
    markClean();
}

void MainFrame::afterNewMapNotifications() {
    postMessage(mapView_, viewmsg::NewMap);
    tools_.post(ToolKind::HqMap, hqmsg::NewMap);
    tools_.post(ToolKind::BuildingCount, buildingmsg::Recount);
    tools_.post(ToolKind::TroopPalette, trooppalettemsg::NewTroops);
    tools_.post(ToolKind::TroopTable, trooptablemsg::NewMap);
    tools_.post(ToolKind::TerrainLabelList, labellistmsg::Redraw);
    tools_.post(ToolKind::TroopLabelList, labellistmsg::Redraw);
    tools_.post(ToolKind::UndoHistory, historymsg::Refresh);
    tools_.post(ToolKind::Problems, problemsmsg::Recheck);
    postMessage(this, mainmsg::RebuildTitle);
}

}  // namespace kv
