// The tool window.
#include "app/tool_window.h"

#include <QLabel>
#include <QPainter>
#include <QSpinBox>

#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>

#include "app/main_frame.h"
#include "document/map_document.h"
#include "document/palette_pieces.h"
#include "framework/bitmap_button.h"
#include "framework/button_faces.h"
#include "framework/cp932.h"
#include "framework/prompter.h"
#include "framework/tool_tips.h"
#include "view/hex_painter.h"
#include "view/sprite_sheets.h"
#include "view/window_messages.h"

namespace kv {

namespace {

namespace id = toolid;

// One square button: its id, face, tooltip, place, and what it does — a menu command, or a
// window it opens and closes.
struct ButtonRow {
    int id;
    int face;
    const char* tooltip;
    int col, row;
    int command;  // 0: a window button
    ToolKind window;
};

constexpr int kStep = 27, kLeft = 4, kTop = 4;
using K = ToolKind;

const ButtonRow kButtons[] = {
    {id::HqMap, faces::HqMap, "HQﾏｯﾌﾟ", 0, 0, 0, K::HqMap},
    {id::TerrainPalette, faces::TerrainPalette, "地形ﾊﾟﾚｯﾄ", 1, 0, 0, K::TerrainPalette},
    {id::TroopPalette, faces::TroopPalette, "部隊ﾊﾟﾚｯﾄ", 2, 0, 0, K::TroopPalette},
    {id::BorderPalette, faces::BorderPalette, "国境線ﾊﾟﾚｯﾄ", 3, 0, 0, K::BorderPalette},
    {id::BuildingCount, faces::BuildingCount, "建物数情報", 4, 0, 0, K::BuildingCount},
    {id::TroopTable, faces::TroopTable, "部隊表", 5, 0, 0, K::TroopTable},
    {id::WeaponList, faces::WeaponList, "兵器一覧", 6, 0, 0, K::WeaponList},
    {id::TerrainLabelList, faces::TerrainLabelList, "地形ﾗﾍﾞﾙ一覧", 7, 0, 0, K::TerrainLabelList},
    {id::TroopLabelList, faces::TroopLabelList, "部隊ﾗﾍﾞﾙ一覧", 8, 0, 0, K::TroopLabelList},
    {id::TerrainInfo, faces::TerrainInfo, "地形情報", 9, 0, 0, K::TerrainInfo},
    {id::TerrainMoveTable, faces::TerrainMoveTable, "地形移動表", 10, 0, 0, K::TerrainMoveTable},
    {id::TerrainAvoidTable, faces::TerrainAvoidTable, "地形回避表", 11, 0, 0, K::TerrainAvoidTable},
    {id::TransportableTerrain, faces::TransportableTerrain, "輸送可能地形", 12, 0, 0,
     K::TransportableTerrain},
    {id::TerrainMode, faces::TerrainMode, "地形配置ﾓｰﾄﾞ", 0, 1, cmd::TerrainMode, K::Count},
    {id::TroopMode, faces::TroopMode, "部隊配置ﾓｰﾄﾞ", 1, 1, cmd::TroopMode, K::Count},
    {id::ReinforcementMode, faces::ReinforcementMode, "増援配置ﾓｰﾄﾞ", 2, 1, cmd::ReinforcementMode,
     K::Count},
    {id::LabelMode, faces::LabelMode, "ﾗﾍﾞﾙ配置ﾓｰﾄﾞ", 3, 1, cmd::LabelMode, K::Count},
    {id::BorderMode, faces::BorderMode, "国境線配置ﾓｰﾄﾞ", 4, 1, cmd::BorderMode, K::Count},
    {id::Zoom48, faces::Zoom48, "小範囲表示", 6, 1, cmd::Zoom48, K::Count},
    {id::Zoom32, faces::Zoom32, "中範囲表示", 7, 1, cmd::Zoom32, K::Count},
    {id::Zoom16, faces::Zoom16, "大範囲表示", 8, 1, cmd::Zoom16, K::Count},
    {id::HexFrame, faces::HexFrame, "ﾍｯｸｽ枠表示", 9, 1, cmd::ShowHexFrame, K::Count},
    {id::ShowTroops, faces::ShowTroops, "部隊表示", 10, 1, cmd::ShowTroops, K::Count},
    {id::ShowTerrainLabels, faces::ShowTerrainLabels, "地形ﾗﾍﾞﾙ表示", 11, 1, cmd::ShowTerrainLabels,
     K::Count},
    {id::ShowVictoryLabels, faces::ShowVictoryLabels, "勝敗条件ﾗﾍﾞﾙ表示", 12, 1,
     cmd::ShowVictoryLabels, K::Count},
    {id::ShowBorderlines, faces::ShowBorderlines, "国境線表示", 13, 1, cmd::ShowBorderlines,
     K::Count},
    {id::Pen, faces::Pen, "ﾍﾟﾝ", 0, 2, cmd::DrawPen, K::Count},
    {id::Line, faces::Line, "線", 1, 2, cmd::DrawLine, K::Count},
    {id::Box, faces::Box, "箱塗り", 2, 2, cmd::DrawBox, K::Count},
    {id::Copy, faces::Copy, "ｺﾋﾟｰ", 3, 2, cmd::DrawCopy, K::Count},
    {id::DeleteLinks, faces::DeleteLinks, "道路/河川の削除", 4, 2, cmd::DrawDeleteLinks, K::Count},
    {id::Flood, faces::Flood, "塗りつぶし", 5, 2, cmd::DrawFlood, K::Count},
    {id::PenSingle, faces::PenSingle, "ｼﾝｸﾞﾙﾍｯｸｽ", 7, 2, cmd::PenSingle, K::Count},
    {id::PenMega, faces::PenMega, "ﾒｶﾞﾍｯｸｽ", 8, 2, cmd::PenMega, K::Count},
    {id::TroopPlace, faces::TroopPlace, "部隊配置", 10, 2, cmd::TroopPlace, K::Count},
    {id::TroopMove, faces::TroopMove, "部隊移動", 11, 2, cmd::TroopMove, K::Count},
    {id::TroopDelete, faces::TroopDelete, "部隊回収", 12, 2, cmd::TroopDelete, K::Count},
    {id::UnderlayOnly, faces::UnderlayOnly, "下絵のみ表示", 0, 3, cmd::DrawUnderlayOnly, K::Count},
    {id::MapOnly, faces::MapOnly, "マップのみ表示", 1, 3, cmd::DrawMapOnly, K::Count},
    {id::Transparent, faces::Transparent, "透かして表示", 2, 3, cmd::DrawTransparent, K::Count},
};

const ButtonRow* rowOf(int buttonId) {
    for (const ButtonRow& r : kButtons)
        if (r.id == buttonId) return &r;
    return nullptr;
}

std::string cp932ToUtf8(const std::string& s) {
    return decodeCp932Lossy(s);
}

constexpr int kCaptionY = kTop + 4 * kStep + 4;
constexpr int kExtendedY = kCaptionY + 42;
constexpr int kSlotCount = 6;
// The extended area's controls and the size its pictures are drawn at.
constexpr int kTerrainName = 2000, kSlotName = 2001, kTerrainPicture = 2010, kSlotIcon = 2011;
constexpr int kPictureSize = 32;
const QColor kAreaFace(212, 208, 200);

}  // namespace

std::map<int, ToolButtonState> toolButtonStates(const ToolWindowInputs& in) {
    std::map<int, ToolButtonState> s;
    for (const ButtonRow& r : kButtons) s[r.id] = {};
    for (const ButtonRow& r : kButtons)
        if (r.command == 0)
            s[r.id].latched = std::find(in.openWindows.begin(), in.openWindows.end(), r.id) !=
                              in.openWindows.end();
    const int modes[] = {id::TerrainMode, id::TroopMode, id::ReinforcementMode, id::LabelMode,
                         id::BorderMode};
    for (int m = 0; m < 5; ++m) {
        s[modes[m]].enabled = !in.locked && !in.pastePending;
        s[modes[m]].latched = in.editMode == m;
    }
    const int kinds[] = {id::Pen, id::Line, id::Box, id::Copy, id::DeleteLinks, id::Flood};
    const bool terrain = in.editMode == kEditTerrain, border = in.editMode == kEditBorderlines;
    for (int k = 0; k < 6; ++k) {
        ToolButtonState& b = s[kinds[k]];
        if (terrain) {
            b.enabled = !in.pastePending;
            if ((in.megaBrush || in.lineBrush) &&
                (k == kDrawLine || k == kDrawBox || k == kDrawFlood))
                b.enabled = false;
        } else if (border) {
            b.enabled = k != kDrawCopy && k != kDrawDeleteLinks;
        } else {
            b.enabled = false;
        }
        b.latched = (terrain || border) && in.drawKind == k;
    }
    // A line brush is drawn with the pen's button shown pressed.
    if (terrain && in.lineBrush &&
        (in.drawKind == kDrawLine || in.drawKind == kDrawBox || in.drawKind == kDrawFlood)) {
        s[id::Line].latched = s[id::Box].latched = s[id::Flood].latched = false;
        s[id::Pen].latched = true;
    }
    const bool troops = in.editMode == kEditTroops || in.editMode == kEditReinforcements;
    const int troopKinds[] = {id::TroopPlace, id::TroopMove, id::TroopDelete};
    for (int k = 0; k < 3; ++k) {
        s[troopKinds[k]].enabled = troops && !in.locked;
        s[troopKinds[k]].latched = troops && in.troopDrawKind == k;
    }
    s[id::PenSingle].enabled = s[id::PenMega].enabled = terrain || border;
    s[id::PenSingle].latched = in.penKind == 0;
    s[id::PenMega].latched = in.penKind == 1;
    const int size = in.hexSize >= 48 ? 48 : in.hexSize >= 32 ? 32 : 16;
    s[id::Zoom48].latched = size == 48;
    s[id::Zoom32].latched = size == 32;
    s[id::Zoom16].latched = size == 16;
    s[id::HexFrame].latched = in.showHexFrame;
    s[id::ShowTroops].latched = in.showTroops;
    s[id::ShowTerrainLabels].latched = in.showTerrainLabels;
    s[id::ShowVictoryLabels].latched = in.showVictoryLabels;
    s[id::ShowBorderlines].latched = in.showBorderlines;
    s[id::UnderlayOnly].latched = in.mapDrawMethod == 0;
    s[id::MapOnly].latched = in.mapDrawMethod == 1;
    s[id::Transparent].latched = in.mapDrawMethod == 2;
    return s;
}

std::string coordinatesText(std::optional<HexPos> hex, bool inMap) {
    if (!hex || !inMap) return "座標(x,y) = (---,---)";
    char text[64];
    std::snprintf(text, sizeof text, "座標(x,y) = (%3d,%3d)", hex->col, hex->row);
    return text;
}

ToolWindow::ToolWindow(MainFrame& frame)
    : PaletteWindow(frame, ToolKind::ToolWindow, kClassName, "ツール", kWidth, kHeight) {}

ToolWindow::~ToolWindow() = default;

int ToolWindow::onInitDialog() {
    tips_ = new ToolTips(handle());
    addButtons();
    addLabel(id::BrushCaption, "地形ﾊﾟﾚｯﾄ:", kLeft, kCaptionY, kWidth - 8, 18);
    addLabel(id::Coordinates, "", kLeft, kCaptionY + 20, 200, 18);
    addLabel(id::ReinforcementTurn + 1, "増援ﾀｰﾝ:", 230, kCaptionY + 18, 70, 20);
    addSpin(id::ReinforcementTurn, 300, kCaptionY + 18, 60, 22, 2, MapHeader::kMaxTurnLimit);
    // The extended area: the hex's terrain and one slot per altitude layer, each a picture
    // and a name.
    add<QLabel>(kTerrainPicture, kLeft + 2, kExtendedY + 2, kPictureSize, kPictureSize);
    addLabel(kTerrainName, "", kLeft + 40, kExtendedY + 8, 200, 18);
    for (int s = 0; s < kSlotCount; ++s) {
        add<QLabel>(kSlotIcon + s, kLeft + 20, kExtendedY + 32 + s * 16, 16, 16);
        addLabel(kSlotName + s, "", kLeft + 40, kExtendedY + 32 + s * 16, 300, 16);
    }
    setExtended(false);
    return 0;
}

void ToolWindow::addButtons() {
    for (const ButtonRow& r : kButtons) {
        auto* b = newWindow<BitmapButton>(this, FaceSheet::B26x26, r.face, r.id,
                                          kLeft + r.col * kStep, kTop + r.row * kStep);
        buttons_[r.id] = b;
        tooltips_[r.id] = r.tooltip;
        if (b->handle()) tips_->addToolControl(b->handle(), r.tooltip);
    }
    const std::pair<int, const char*> ext[] = {{id::ShowExtended, "拡張情報を表示"},
                                               {id::HideExtended, "拡張情報を隠す"}};
    for (int i = 0; i < 2; ++i) {
        auto* b = newWindow<BitmapButton>(
            this, FaceSheet::B48x20, i == 0 ? faces::ShowExtended : faces::HideExtended,
            ext[i].first, kLeft + 4 * kStep + i * 52, kTop + 3 * kStep + 3);
        buttons_[ext[i].first] = b;
        tooltips_[ext[i].first] = ext[i].second;
        if (b->handle()) tips_->addToolControl(b->handle(), ext[i].second);
    }
}

BitmapButton* ToolWindow::button(int buttonId) const {
    auto it = buttons_.find(buttonId);
    return it == buttons_.end() ? nullptr : it->second;
}

std::string ToolWindow::tooltip(int buttonId) const {
    auto it = tooltips_.find(buttonId);
    return it == tooltips_.end() ? std::string() : it->second;
}

std::string ToolWindow::text(int labelId) const {
    const QLabel* l = control<QLabel>(labelId);
    return l ? l->text().toStdString() : std::string();
}

ToolWindowInputs ToolWindow::inputs() const {
    ToolWindowInputs in;
    const ToolState& t = doc_.tool;
    in.editMode = t.editMode;
    in.drawKind = t.drawKind;
    in.penKind = t.penKind;
    in.troopDrawKind = t.troopDrawKind;
    in.mapDrawMethod = t.mapDrawMethod;
    const ViewSettings& v = doc_.viewSettings;
    in.hexSize = v.hexSize;
    in.showHexFrame = v.showHexFrame == 1;
    in.showTroops = v.showTroops == 1;
    in.showTerrainLabels = v.showTerrainLabels == 1;
    in.showVictoryLabels = v.showVictoryLabels == 1;
    in.showBorderlines = v.showBorderlines == 1;
    in.locked = t.interactionBusy != 0;
    in.pastePending = t.areaSelectActive != 0;
    const TerrainBrush& brush = frame_.terrainBrush();
    in.megaBrush = brush.valid && isMegaPicture(brush.picture);
    in.lineBrush = brush.valid && brush.isLineBrush(doc_.gameDatabase);
    for (const ButtonRow& r : kButtons)
        if (r.command == 0 && frame_.tools().isOpen(r.window)) in.openWindows.push_back(r.id);
    return in;
}

void ToolWindow::refresh() {
    for (const auto& [buttonId, state] : toolButtonStates(inputs())) {
        BitmapButton* b = button(buttonId);
        if (!b || !b->button()) continue;
        b->button()->setEnabled(state.enabled);
        b->setLatched(state.latched);
    }
    if (BitmapButton* b = button(id::ShowExtended)) b->setLatched(extended_);
    std::string caption;
    const int mode = doc_.tool.editMode;
    if (mode == kEditTroops || mode == kEditReinforcements) {
        caption = mode == kEditTroops ? "部隊ﾊﾟﾚｯﾄ:" : "増援ﾊﾟﾚｯﾄ:";
        const TroopBrush& tb = doc_.tool.troopBrush;
        if (tb.valid && tb.weaponId > 0)
            caption += cp932ToUtf8(doc_.gameDatabase.weapon(tb.weaponId).name());
    } else {
        caption = "地形ﾊﾟﾚｯﾄ:" + cp932ToUtf8(brushName(frame_.terrainBrush(), doc_.gameDatabase));
    }
    if (QLabel* l = control<QLabel>(id::BrushCaption)) l->setText(QString::fromStdString(caption));
    // The reinforcement mode edits the troops of one appearance turn: 2 up to the turn limit
    // (no limit: the highest turn there is).
    const bool reinforcements = mode == kEditReinforcements;
    if (auto* turn = control<QSpinBox>(id::ReinforcementTurn)) {
        const int limit = doc_.mapHeader.turnLimit();
        const QSignalBlocker block(turn);
        turn->setMaximum(
            limit >= 2 && limit <= MapHeader::kMaxTurnLimit ? limit : MapHeader::kMaxTurnLimit);
        turn->setValue(std::max(2, doc_.tool.reinforcementTurn));
        turn->setVisible(reinforcements);
        if (reinforcements && doc_.tool.reinforcementTurn != turn->value())
            setReinforcementTurn(turn->value());
    }
    if (QLabel* l = control<QLabel>(id::ReinforcementTurn + 1)) l->setVisible(reinforcements);
    showHex(hex_);
}

void ToolWindow::setReinforcementTurn(int turn) {
    if (doc_.tool.reinforcementTurn == turn) return;
    doc_.tool.reinforcementTurn = turn;
    doc_.rebuildReinforcementIndex();
    doc_.viewSettings.redrawGrid.markAllDirty();
    postMessage(frame_.mapView(), viewmsg::Redraw);
}

void ToolWindow::setExtended(bool on) {
    extended_ = on;
    if (QWidget* w = handle()) w->setFixedSize(kWidth, on ? kExtendedHeight : kHeight);
    if (BitmapButton* b = button(id::ShowExtended)) b->setLatched(on);
}

void ToolWindow::showHex(std::optional<HexPos> hex) {
    hex_ = hex;
    const bool inMap = hex && doc_.contains(hex->col, hex->row);
    if (QLabel* l = control<QLabel>(id::Coordinates))
        l->setText(QString::fromStdString(coordinatesText(hex, inMap)));
    if (!extended_) return;
    // The icons follow the view's choice of unit or weapon-type icons.
    const HexDrawOptions options = HexDrawOptions::of(doc_);
    if (!sheets_ || sheetsUnitIcons_ != options.unitIcons) {
        sheets_ = std::make_unique<SpriteSheets>();
        sheets_->build(kPictureSize, doc_.factionColours, options.unitIcons, doc_.gameDatabase);
        sheetsUnitIcons_ = options.unitIcons;
    }
    // Draws one picture the size of a hex and shows it in `label` at `shown` pixels.
    auto show = [this, &options](int label, int shown,
                                 const std::function<void(HexPainter&)>& draw) {
        auto* l = control<QLabel>(label);
        if (!l) return;
        if (!draw) {
            l->clear();
            return;
        }
        QImage image(kPictureSize, kPictureSize, QImage::Format_RGB32);
        image.fill(kAreaFace);
        DrawSurface surface = DrawSurface::of(image);
        HexPainter painter(doc_, *sheets_, surface, {0, 0, kPictureSize, kPictureSize}, options,
                           nullptr);
        draw(painter);
        if (shown != kPictureSize)
            image = image.scaled(shown, shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        l->setPixmap(QPixmap::fromImage(image));
    };
    const HexCell* cell = inMap ? doc_.cellAt(hex->col, hex->row) : nullptr;
    const int terrain = cell ? cell->terrain : 0;
    if (QLabel* l = control<QLabel>(kTerrainName))
        l->setText(QString::fromStdString(cp932ToUtf8(
            fieldText(doc_.gameDatabase.terrain(size_t(terrain)).name, kTerrainNameBytes))));
    if (cell) {
        show(kTerrainPicture, kPictureSize, [cell](HexPainter& p) { p.drawPiece(*cell, 0, 0); });
    } else {
        show(kTerrainPicture, kPictureSize, nullptr);
    }
    std::array<std::string, kSlotCount> layerNames;
    std::array<const HexTroop*, kSlotCount> layerTroops{};
    HexTroops troops;
    if (cell) troops = troopsAt(doc_, hex->col, hex->row, options);
    for (const HexTroop& t : troops) {
        const TroopRecord* troop = t.table >= 0 ? doc_.troopAt(t.table, t.slot) : nullptr;
        if (!troop) continue;
        const int layer = doc_.gameDatabase.weapon(troop->weaponId()).layer();
        if (layer < 0 || layer >= kSlotCount) continue;
        layerNames[size_t(layer)] = cp932ToUtf8(troop->name());
        layerTroops[size_t(layer)] = &t;
    }
    for (int s = 0; s < kSlotCount; ++s) {
        if (QLabel* l = control<QLabel>(kSlotName + s))
            l->setText(QString::fromStdString(layerNames[size_t(s)]));
        const HexTroop* t = layerTroops[size_t(s)];
        if (!t) {
            show(kSlotIcon + s, 16, nullptr);
            continue;
        }
        const TroopRecord& troop = *doc_.troopAt(t->table, t->slot);
        show(kSlotIcon + s, 16,
             [&troop, t](HexPainter& p) { p.drawTroopIcon(troop, t->table, 0, 0); });
    }
}

int ToolWindow::onCommand(MessageRecord& m, int buttonId, int code) {
    if (buttonId == id::ShowExtended || buttonId == id::HideExtended) {
        setExtended(buttonId == id::ShowExtended);
        showHex(hex_);
        return 1;
    }
    if (buttonId == id::ReinforcementTurn) {
        if (code == TextChanged)
            if (auto* turn = control<QSpinBox>(id::ReinforcementTurn))
                setReinforcementTurn(turn->value());
        return 1;
    }
    const ButtonRow* r = rowOf(buttonId);
    if (!r) return PaletteWindow::onCommand(m, buttonId, code);
    if (r->command == 0) {
        // The window follows the button's new state.
        BitmapButton* b = button(buttonId);
        const bool open = b && !b->latched;
        const ToolWindowInfo& info = toolInfo(r->window);
        postMessage(&frame_, open ? info.openMessage : info.closeMessage);
        if (b) b->setLatched(open);
        return 1;
    }
    if (r->command == cmd::ReinforcementMode && doc_.mapHeader.turnLimit() == 1) {
        Prompt p;
        p.caption = "注意";
        p.text = "ターン制限が１になっています。\n増援部隊は配置できません。";
        p.owner = this;
        prompter().ask(p);
        refresh();
        return 1;
    }
    frame_.sendCommand(r->command);
    refresh();
    return 1;
}

int ToolWindow::onMessage(MessageRecord& m) {
    if (m.message == toolmsg::ShowHexCoordinates) {
        showHex(HexPos{static_cast<int>(m.wParam), static_cast<int>(m.lParam)});
        return 1;
    }
    if (m.message >= toolmsg::HqMapToggled && m.message <= toolmsg::MinePaletteToggled) {
        refresh();
        return 1;
    }
    return PaletteWindow::onMessage(m);
}

}  // namespace kv
