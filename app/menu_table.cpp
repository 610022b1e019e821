// The main frame's menu bar as data.
#include "app/menu_table.h"

namespace kv {

namespace {

using cmd::Menu;

MenuEntry item(int id, const char* caption) {
    return {MenuEntry::Item, id, caption, false, {}, {}};
}
// An item whose check mark shows a state: a mode, a flag, a choice or an open window.
MenuEntry check(int id, const char* caption) {
    return {MenuEntry::Item, id, caption, true, {}, {}};
}
MenuEntry sep() {
    return {MenuEntry::Separator, 0, "", false, {}, {}};
}
MenuEntry sub(Menu menu, const char* caption, std::vector<MenuEntry> children) {
    return {MenuEntry::SubMenu, 0, caption, false, menu, std::move(children)};
}

std::vector<MenuEntry> build() {
    return {
        sub(Menu::File, "ﾌｧｲﾙ(&F)",
            {
                item(cmd::NewMap, "新規作成(&N)\tCtrl+N"),
                sep(),
                item(cmd::OpenUnderlay, "下絵を開く(&D)"),
                item(cmd::PasteUnderlay, "下絵を貼り付ける(&U)"),
                item(cmd::MoveUnderlay, "下絵を移動する(&M)"),
                sep(),
                item(cmd::OpenMap, "ﾏｯﾌﾟを開く(&O)\tCtrl+O"),
                item(cmd::OpenEarlierEdition, "ケステルｼﾘｰｽﾞﾏｯﾌﾟを開く(&E)"),
                sep(),
                item(cmd::SaveIntermediate, "中間ﾌｧｲﾙで上書き保存(&S)\tCtrl+S"),
                item(cmd::SaveIntermediateAs, "中間ﾌｧｲﾙで名前を付けて保存(&A)"),
                sep(),
                item(cmd::SaveNormalMap, "ﾉｰﾏﾙﾏｯﾌﾟﾌｧｲﾙとして保存(&W)"),
                item(cmd::SaveScenarioMap, "ｼﾅﾘｵﾏｯﾌﾟﾌｧｲﾙとして保存(&Y)"),
                sep(),
                item(cmd::NewCampaign, "ｷｬﾝﾍﾟｰﾝ新規作成(&C)"),
                item(cmd::EditCampaign, "ｷｬﾝﾍﾟｰﾝ編集(&F)"),
                sep(),
                item(cmd::ExportBitmap, "ﾋﾞｯﾄﾏｯﾌﾟﾌｧｲﾙへの出力(&B)"),
                item(cmd::EditProductTypes, "生産ﾀｲﾌﾟ編集(&P)"),
                item(cmd::EditRules, "ﾙｰﾙ作成(&R)"),
                sep(),
                item(cmd::Exit, "終了(&X)"),
            }),
        sub(Menu::Edit, "編集(&E)",
            {
                item(cmd::Undo, "元に戻す(&U)\tCtrl+Z"),
                item(cmd::Redo, "やり直し(&R)\tCtrl+Y"),
                sep(),
                check(cmd::TerrainMode, "地形配置ﾓｰﾄﾞ(&A)"),
                check(cmd::TroopMode, "部隊配置ﾓｰﾄﾞ(&B)"),
                check(cmd::LabelMode, "ﾗﾍﾞﾙ配置ﾓｰﾄﾞ(&D)"),
                check(cmd::BorderMode, "国境線配置ﾓｰﾄﾞ(&E)"),
                sep(),
                item(cmd::MapSize, "ﾏｯﾌﾟｻｲｽﾞの変更(&Z)"),
                item(cmd::PackTroopNumbers, "部隊番号の整列(&Q)"),
                item(cmd::ExchangeFactionColours, "陣営色の入れ替え(&X)"),
                sep(),
                item(cmd::MapSettings, "ﾏｯﾌﾟ設定(&M)"),
                item(cmd::ScenarioSettings, "ｼﾅﾘｵ設定(&S)"),
                item(cmd::BriefingPreview, "ﾌﾞﾘｰﾌｨﾝｸﾞﾌﾟﾚﾋﾞｭｰ(&P)"),
                item(cmd::EndingPreview, "ｴﾝﾃﾞｨﾝｸﾞﾌﾟﾚﾋﾞｭｰ(&E)"),
                sep(),
                item(cmd::MapCheck, "ﾏｯﾌﾟﾁｪｯｸ(&H)"),
                item(cmd::CombatComparison, "戦闘比較(&G)"),
            }),
        sub(Menu::Window, "ｳｨﾝﾄﾞｳ(&W)",
            {
                check(cmd::ToolWindow, "ﾂｰﾙ(&O)"),
                check(cmd::HqMap, "HQﾏｯﾌﾟ(&H)"),
                sep(),
                check(cmd::TerrainPalette, "地形ﾊﾟﾚｯﾄ(&P)"),
                check(cmd::TroopPalette, "部隊ﾊﾟﾚｯﾄ(&T)"),
                check(cmd::BorderPalette, "国境線ﾊﾟﾚｯﾄ(&K)"),
                check(cmd::MinePalette, "地雷機雷ﾊﾟﾚｯﾄ(&M)"),
                sep(),
                check(cmd::BuildingCount, "建物数情報(&C)"),
                check(cmd::TroopTable, "部隊表(&B)"),
                check(cmd::WeaponList, "兵器一覧(&W)"),
                check(cmd::TerrainLabelList, "地形ﾗﾍﾞﾙ一覧(&L)"),
                check(cmd::TroopLabelList, "部隊ﾗﾍﾞﾙ一覧(&U)"),
                sep(),
                check(cmd::TerrainInfo, "地形情報(&D)"),
                check(cmd::TerrainMoveTable, "地形移動表(&M)"),
                check(cmd::TerrainAvoidTable, "地形回避表(&A)"),
                check(cmd::TransportableTerrain, "輸送可能地形(&Y)"),
                sep(),
                check(cmd::UndoHistoryWindow, "操作履歴(&R)"),
                check(cmd::ProblemsPanel, "問題一覧(&E)"),
            }),
        sub(Menu::View, "表示(&V)",
            {
                check(cmd::Zoom16, "大範囲表示(&L)"),
                check(cmd::Zoom32, "中範囲表示(&M)"),
                check(cmd::Zoom48, "小範囲表示(&S)"),
                sep(),
                check(cmd::ShowHexFrame, "ヘックス枠(&F)"),
                check(cmd::ShowTroops, "部隊表示(&T)"),
                check(cmd::ShowTerrainLabels, "地形ﾗﾍﾞﾙ表示(&P)"),
                check(cmd::ShowVictoryLabels, "勝敗条件ﾗﾍﾞﾙ表示(&W)"),
                check(cmd::ShowBorderlines, "国境線表示(&B)"),
                sep(),
                sub(Menu::UnitIcon, "部隊ｱｲｺﾝ（&U)",
                    {
                        check(cmd::UnitIconPictures, "ﾕﾆｯﾄ(&U)"),
                        check(cmd::UnitIconWeaponTypes, "兵器ﾀｲﾌﾟ(&T)"),
                    }),
                item(cmd::CustomiseFactionColours, "陣営色のｶｽﾀﾏｲｽﾞ(&C)"),
            }),
        sub(Menu::Tools, "ﾂｰﾙ(&T)",
            {
                sub(Menu::DrawKind, "描画種類(&D)",
                    {
                        check(cmd::DrawPen, "ﾍﾟﾝ(&P)"),
                        check(cmd::DrawLine, "線(&L)"),
                        check(cmd::DrawBox, "箱塗り(&B)"),
                        check(cmd::DrawFlood, "塗りつぶし(&A)"),
                        check(cmd::DrawCopy, "ｺﾋﾟｰ(&C)"),
                        check(cmd::DrawDeleteLinks, "道路/河川削除(&R)"),
                    }),
                sub(Menu::PenKind, "ﾍﾟﾝ種類(&P)",
                    {
                        check(cmd::PenSingle, "ｼﾝｸﾞﾙﾍｯｸｽ(&S)"),
                        check(cmd::PenMega, "ﾒｶﾞﾍｯｸｽ(&M)"),
                    }),
                sub(Menu::TroopDrawKind, "部隊描画種類(&T)",
                    {
                        check(cmd::TroopPlace, "部隊配置(&P)"),
                        check(cmd::TroopMove, "部隊移動(&M)"),
                        check(cmd::TroopDelete, "部隊削除(&D)"),
                    }),
                sub(Menu::MapDrawMethod, "ﾏｯﾌﾟの描画方法(&M)",
                    {
                        check(cmd::DrawUnderlayOnly, "下絵のみ(&U)"),
                        check(cmd::DrawMapOnly, "ﾏｯﾌﾟのみ(&M)"),
                        check(cmd::DrawTransparent, "透過(&T)"),
                    }),
                sep(),
                item(cmd::RunScript, "スクリプト実行..."),
            }),
        sub(Menu::Help, "ﾍﾙﾌﾟ(&H)",
            {
                item(cmd::About, "ﾊﾞｰｼﾞｮﾝ情報(&A)"),
            }),
    };
}

}  // namespace

const std::vector<MenuEntry>& menuBarTable() {
    static const std::vector<MenuEntry> table = build();
    return table;
}

std::vector<MenuShortcut> menuShortcuts() {
    std::vector<MenuShortcut> out;
    std::vector<const std::vector<MenuEntry>*> pending = {&menuBarTable()};
    while (!pending.empty()) {
        const std::vector<MenuEntry>* entries = pending.back();
        pending.pop_back();
        for (const MenuEntry& e : *entries) {
            pending.push_back(&e.children);
            const size_t tab = e.caption.find('\t');
            if (e.kind == MenuEntry::Item && tab != std::string::npos)
                out.push_back({e.id, e.caption.substr(tab + 1)});
        }
    }
    return out;
}

}  // namespace kv
