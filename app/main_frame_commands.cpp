// The main frame's commands: a table of small handlers, the file flows, and the private
// messages it receives from the windows it owns.
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>

#include <filesystem>

#include "app/batch_dialog.h"
#include "app/main_frame.h"
#include "app/map_file_filters.h"
#include "app/map_open_dialog.h"
#include "app/menu_state.h"
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

namespace kv {

namespace {

std::string folderOf(const std::string& path) {
    return std::filesystem::path(path).parent_path().string();
}

std::string baseName(const std::string& path) {
    return std::filesystem::path(path).stem().string();
}

bool fileThere(const std::string& path) { return !path.empty() && fileExists(path); }

}  // namespace

void MainFrame::registerHandlers() {
    handlers_[40007] = [this] { newMap(); };
    handlers_[40008] = [this] { exitFlow(); };
    handlers_[40012] = [this] { openMap(); };
    handlers_[40013] = [this] { saveIntermediate(); };
    handlers_[40014] = [this] { saveIntermediateAs(); };
    handlers_[40025] = [this] { saveMapAs(false); };
    handlers_[40093] = [this] { saveMapAs(true); };
    handlers_[40043] = [this] {
        if (QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier) {
            runBatchConversion();
        } else {
            openEarlierEdition();
        }
    };
    handlers_[40026] = [this] { undoRedo(false); };
    handlers_[40027] = [this] { undoRedo(true); };
    handlers_[40033] = [this] {
        VersionDialog d(this);
        d.run();
    };
    registerViewHandlers();
    registerMapHandlers();
    for (int k = 0; k < static_cast<int>(ToolKind::Count); ++k) {
        const ToolWindowInfo& info = toolInfo(static_cast<ToolKind>(k));
        if (info.menuId) handlers_[info.menuId] = [this, kind = info.kind] { toggleTool(kind); };
    }
}

void MainFrame::registerViewHandlers() {
    handlers_[40011] = [this] { setZoom(16); };
    handlers_[40009] = [this] { setZoom(32); };
    handlers_[40091] = [this] { setZoom(48); };
    ViewSettings& v = doc_.viewSettings;
    handlers_[40010] = [this, &v] { toggleViewFlag(v.showHexFrame, 1137); };
    handlers_[40068] = [this, &v] { toggleViewFlag(v.showTroops, 1151); };
    handlers_[40069] = [this, &v] { toggleViewFlag(v.showTerrainLabels, 1152); };
    handlers_[40076] = [this, &v] { toggleViewFlag(v.showVictoryLabels, 1153); };
    handlers_[40094] = [this, &v] { toggleViewFlag(v.showBorderlines, 1154); };
    handlers_[40098] = [this] { setUnitIcon(1); };
    handlers_[40099] = [this] { setUnitIcon(0); };
    const std::pair<int, int> modes[] = {{40055, 0}, {40056, 1}, {40057, 3}, {40095, 4},
                                         {40075, 2}, {40101, 3}, {40102, 3}};
    for (auto [id, mode] : modes) handlers_[id] = [this, mode = mode] { setEditModeCommand(mode); };
    const std::pair<int, int> drawKinds[] = {{40035, 0}, {40036, 1}, {40037, 2},
                                             {40045, 5}, {40038, 3}, {40039, 4}};
    for (auto [id, kind] : drawKinds)
        handlers_[id] = [this, kind = kind] { setToolValue(doc_.drawKind, kind, 1141, false); };
    handlers_[40041] = [this] { setToolValue(doc_.penKind, 0, 1142, false); };
    handlers_[40042] = [this] { setToolValue(doc_.penKind, 1, 1142, false); };
    for (auto [id, kind] : {std::pair{40078, 0}, std::pair{40079, 1}, std::pair{40080, 2}})
        handlers_[id] = [this, kind] { setToolValue(doc_.troopDrawKind, kind, 1156, kind != 1); };
    for (auto [id, method] : {std::pair{40049, 0}, std::pair{40050, 1}, std::pair{40051, 2}})
        handlers_[id] = [this, method] {
            setToolValue(doc_.mapDrawMethod, method, 1143, false);
            postMessage(mapView_, 1129);
        };
}

void MainFrame::registerMapHandlers() {
    handlers_[40034] = [this] {
        std::vector<std::string> lines;
        for (const MapProblem& p : checkMap(doc_)) lines.push_back(p.text);
        MapCheckDialog d(this, lines);
        d.run();
    };
    handlers_[40044] = [this] {
        MapSizeDialog d(this, doc_.width(), doc_.height(), [this](int w, int h, int anchor) {
            changeMapSize(doc_, w, h, anchor);
        });
        if (!d.run() || d.result != 1) return;
        postMessage(mapView_, 1131);
        if (tools_.isOpen(ToolKind::HqMap)) {
            tools_.close(ToolKind::HqMap);
            tools_.open(ToolKind::HqMap);
        }
        for (ToolKind k : {ToolKind::BuildingCount, ToolKind::TerrainLabelList,
                           ToolKind::TroopTable, ToolKind::TroopLabelList})
            tools_.post(k, 1129);
        doc_.isClean = 0;
    };
    handlers_[40066] = [this] {
        const CursorShape previous = beginBusy();
        packTroopNumbers(doc_);
        endBusy(previous);
        doc_.isClean = 0;
        tools_.post(ToolKind::TroopTable, 1129);
        tools_.post(ToolKind::TroopLabelList, 1129);
        tools_.post(ToolKind::TroopPalette, 1130);
    };
    handlers_[40083] = [this] {
        FactionExchangeDialog d(this);
        if (!d.run() || d.result != 1) return;
        exchangeFactions(doc_, d.first, d.second);
        doc_.viewSettings.redrawGrid.markAllDirty();
        postMessage(mapView_, 1143);
        postMessage(mapView_, 1129);
        for (ToolKind k : {ToolKind::HqMap, ToolKind::BuildingCount, ToolKind::TerrainLabelList,
                           ToolKind::TroopTable, ToolKind::TroopLabelList})
            tools_.post(k, 1129);
        doc_.isClean = 0;
    };
}

// --- view and tool settings ------------------------------------------------------------------

void MainFrame::setZoom(int size) {
    const int current = doc_.viewSettings.hexSize >= 48 ? 48 : doc_.viewSettings.hexSize >= 32 ? 32 : 16;
    if (current == size) return;  // the active zoom: nothing at all
    doc_.viewSettings.hexSize = size;
    doc_.viewSettings.redrawGrid.markAllDirty();
    postMessage(mapView_, 1141);
    postMessage(mapView_, 1129);
    tools_.post(ToolKind::HqMap, 1131);
    tools_.post(ToolKind::ToolWindow, 1138);
}

void MainFrame::toggleViewFlag(uint8_t& flag, uint32_t message) {
    flag = flag == 1 ? 0 : 1;
    doc_.viewSettings.redrawGrid.markAllDirty();
    postMessage(mapView_, 1129);
    tools_.post(ToolKind::ToolWindow, message);
}

void MainFrame::setUnitIcon(int value) {
    if (doc_.viewSettings.showUnitIcon == value) return;
    doc_.viewSettings.showUnitIcon = static_cast<uint8_t>(value);
    postMessage(mapView_, 1141);
    doc_.viewSettings.redrawGrid.markAllDirty();
    postMessage(mapView_, 1129);
    tools_.post(ToolKind::ToolWindow, 1145);
}

void MainFrame::setEditModeCommand(int mode) {
    const int before = doc_.editMode;
    doc_.setEditMode(mode);
    tools_.post(ToolKind::ToolWindow, 1144);
    tools_.post(ToolKind::ToolWindow, 1141);
    if (doc_.editMode != before) postMessage(this, mainmsg::EditModeChanged);
}

void MainFrame::setToolValue(int& field, int value, uint32_t message, bool postPlace) {
    field = value;
    if (postPlace) postMessage(mapView_, 1136);
    tools_.post(ToolKind::ToolWindow, message);
}

void MainFrame::undoRedo(bool redo) {
    if (doc_.interactionBusy) return;  // a troop is being moved
    if (redo) {
        doc_.redo();
    } else {
        doc_.undo();
    }
    allViewsRepaint();
    doc_.isClean = 0;
}

void MainFrame::allViewsRepaint() {
    postMessage(mapView_, 1129);
    for (ToolKind k : {ToolKind::HqMap, ToolKind::BuildingCount, ToolKind::TroopTable,
                       ToolKind::TroopLabelList, ToolKind::TerrainLabelList})
        tools_.post(k, 1129);
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
    if (m.message == 1150) {
        tools_.openWeaponDetail(static_cast<int>(m.wParam));
        return true;
    }
    if (m.message == 1151) {
        tools_.closeWeaponDetail(static_cast<int>(m.wParam));
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
    // Windows closed from their own close box say so with wParam 1; the tool window's button
    // follows. Some windows always tell it when they open.
    const bool tell = (opens && info.openPostsToolMessage) || m.wParam == 1 ||
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
    show(ToolKind::TerrainPalette, doc_.editMode == 0);
    show(ToolKind::TroopPalette, doc_.editMode == 1 || doc_.editMode == 2);
    show(ToolKind::BorderPalette, doc_.editMode == 4);
    show(ToolKind::MinePalette, false);
    doc_.viewSettings.redrawGrid.markAllDirty();
    postMessage(mapView_, 1129);
    tools_.post(ToolKind::TroopTable, 1132);
}

// --- menus -----------------------------------------------------------------------------------

void MainFrame::updateMenus(QMenu*) {
    MenuInputs in;
    in.documentOpen = doc_.documentOpen == 1;
    in.interactionBusy = doc_.interactionBusy != 0;
    in.areaSelectActive = doc_.areaSelectActive != 0;
    in.isClean = doc_.isClean != 0;
    in.filePath = doc_.filePath;
    in.fileExists = fileThere(doc_.filePath);
    const QMimeData* clip = QApplication::clipboard()->mimeData();
    in.clipboardHasBitmap = clip && clip->hasImage();  // asking does not convert the picture
    if (mapView_) {
        const QSize u = mapView_->renderer().underlaySize();
        in.underlayLoaded = u.width() > 0 && u.height() > 0;
    }
    in.canUndo = !doc_.undoStack.empty();
    in.canRedo = !doc_.redoStack.empty();
    in.scenarioHasEnding =
        doc_.scenarioTexts.bytes[ScenarioTexts::kFields[ScenarioTexts::EndingBody].offset] != 0;
    in.editMode = doc_.editMode;
    in.drawKind = doc_.drawKind;
    in.penKind = doc_.penKind;
    in.troopDrawKind = doc_.troopDrawKind;
    in.mapDrawMethod = doc_.mapDrawMethod;
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
    if (QMenu* tool = topMenu(4)) {
        int i = 0;
        for (QAction* a : tool->actions())
            if (a->menu() && i < 4) a->setEnabled(state.toolSubMenuEnabled[i++]);
    }
}

// --- file flows ------------------------------------------------------------------------------

bool MainFrame::confirmSave() {
    if (doc_.documentOpen != 1 || doc_.isClean != 0) return true;
    ConfirmSaveDialog d(this);
    d.run();
    if (d.result == 2) return false;           // ｷｬﾝｾﾙ
    if (d.result == 6) return saveIntermediateAs();  // はい
    return true;                               // いいえ
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
    if (!writeSafely([&] { writeIntermediateFile(doc_, *path); })) return false;
    postMessage(this, mainmsg::RebuildTitle);
    doc_.isClean = 1;
    tools_.post(ToolKind::WeaponList, 1130);
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
    if (!writeSafely([&] { writeIntermediateFile(doc_, path); })) return;
    postMessage(this, mainmsg::RebuildTitle);
    doc_.isClean = 1;
    tools_.post(ToolKind::WeaponList, 1130);
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
        showMessage("確認",
                    "シナリオ設定が入力されていないデータを、シナリオデータとして保存しようとしています。"
                    "\nよろしいですか？",
                    PromptIcon::Question, PromptButtons::YesNo, this) != PromptAnswer::Yes)
        return;
    if (!scenario && hasTexts &&
        showMessage("確認",
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
    if (writeSafely([&] { writeMapFile(doc_, *path, scenario); })) {
        postMessage(this, mainmsg::RebuildTitle);
        tools_.post(ToolKind::WeaponList, 1130);
    }
    doc_.filePath = keepPath;
}

bool MainFrame::openMapFile(const std::string& path) {
    const bool loaded = loadMapFile(doc_, path);
    doc_.filePath = loaded ? path : std::string();
    postMessage(this, mainmsg::RebuildTitle);
    doc_.isClean = 1;
    if (doc_.editMode == 2) doc_.rebuildReinforcementIndex();
    afterNewMapNotifications();
    tools_.post(ToolKind::WeaponList, 1130);
    return loaded;
}

void MainFrame::openMap() {
    if (!confirmSave()) return;
    MapOpenDialog d(this, readFolderKey("MapPath"));
    if (!d.run() || d.result != 1 || d.chosenPath.empty()) return;
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
    openEarlierMap(doc_, *path);
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
    doc_.isClean = 1;
}

void MainFrame::exitFlow() {
    if (!confirmSave()) return;
    destroy();
}

void MainFrame::newMap() {
    if (!confirmSave()) return;
    doc_.resetToNewMap();
    afterNewMapNotifications();
    doc_.isClean = 1;
}

void MainFrame::afterNewMapNotifications() {
    postMessage(mapView_, 1131);
    tools_.post(ToolKind::HqMap, 1132);
    tools_.post(ToolKind::BuildingCount, 1129);
    tools_.post(ToolKind::TroopPalette, 1130);
    tools_.post(ToolKind::TroopTable, 1130);
    tools_.post(ToolKind::TerrainLabelList, 1129);
    tools_.post(ToolKind::TroopLabelList, 1129);
    postMessage(this, mainmsg::RebuildTitle);
}

}  // namespace kv
