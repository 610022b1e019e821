// The main frame's menu bar as data.
#include "app/menu_table.h"

namespace kv {

namespace {

MenuEntry item(int id, const char* caption) { return {MenuEntry::Item, id, caption, false, {}}; }
// An item whose check mark shows a state: a mode, a flag, a choice or an open window.
MenuEntry check(int id, const char* caption) {
    return {MenuEntry::Item, id, caption, true, {}};
}
MenuEntry sep() { return {MenuEntry::Separator, 0, "", false, {}}; }
MenuEntry sub(const char* caption, std::vector<MenuEntry> children) {
    return {MenuEntry::SubMenu, 0, caption, false, std::move(children)};
}

std::vector<MenuEntry> build() {
    return {
        sub("ﾌｧｲﾙ(&F)",
            {item(40007, "新規作成(&N)\tCtrl+N"),
             sep(),
             item(40048, "下絵を開く(&D)"),
             item(40053, "下絵を貼り付ける(&U)"),
             item(40085, "下絵を移動する(&M)"),
             sep(),
             item(40012, "ﾏｯﾌﾟを開く(&O)\tCtrl+O"),
             item(40043, "ケステルｼﾘｰｽﾞﾏｯﾌﾟを開く(&E)"),
             sep(),
             item(40013, "中間ﾌｧｲﾙで上書き保存(&S)\tCtrl+S"),
             item(40014, "中間ﾌｧｲﾙで名前を付けて保存(&A)"),
             sep(),
             item(40025, "ﾉｰﾏﾙﾏｯﾌﾟﾌｧｲﾙとして保存(&W)"),
             item(40093, "ｼﾅﾘｵﾏｯﾌﾟﾌｧｲﾙとして保存(&Y)"),
             sep(),
             item(40072, "ｷｬﾝﾍﾟｰﾝ新規作成(&C)"),
             item(40073, "ｷｬﾝﾍﾟｰﾝ編集(&F)"),
             sep(),
             item(40084, "ﾋﾞｯﾄﾏｯﾌﾟﾌｧｲﾙへの出力(&B)"),
             item(40063, "生産ﾀｲﾌﾟ編集(&P)"),  // position 19: the menu state addresses it so
             item(40054, "ﾙｰﾙ作成(&R)"),
             sep(),
             item(40008, "終了(&X)")}),
        sub("編集(&E)",
            {item(40026, "元に戻す(&U)\tCtrl+Z"),
             item(40027, "やり直し(&R)\tCtrl+Y"),
             sep(),
             check(40055, "地形配置ﾓｰﾄﾞ(&A)"),
             check(40056, "部隊配置ﾓｰﾄﾞ(&B)"),
             check(40057, "ﾗﾍﾞﾙ配置ﾓｰﾄﾞ(&D)"),
             check(40095, "国境線配置ﾓｰﾄﾞ(&E)"),
             sep(),
             item(40044, "ﾏｯﾌﾟｻｲｽﾞの変更(&Z)"),
             item(40066, "部隊番号の整列(&Q)"),
             item(40083, "陣営色の入れ替え(&X)"),
             sep(),
             item(40028, "ﾏｯﾌﾟ設定(&M)"),
             item(40070, "ｼﾅﾘｵ設定(&S)"),
             item(40071, "ﾌﾞﾘｰﾌｨﾝｸﾞﾌﾟﾚﾋﾞｭｰ(&P)"),
             item(40074, "ｴﾝﾃﾞｨﾝｸﾞﾌﾟﾚﾋﾞｭｰ(&E)"),
             sep(),
             item(40034, "ﾏｯﾌﾟﾁｪｯｸ(&H)"),
             item(40103, "戦闘比較(&G)")}),
        sub("ｳｨﾝﾄﾞｳ(&W)",
            {check(40031, "ﾂｰﾙ(&O)"),
             check(40022, "HQﾏｯﾌﾟ(&H)"),
             sep(),
             check(40032, "地形ﾊﾟﾚｯﾄ(&P)"),
             check(40058, "部隊ﾊﾟﾚｯﾄ(&T)"),
             check(40096, "国境線ﾊﾟﾚｯﾄ(&K)"),
             check(40097, "地雷機雷ﾊﾟﾚｯﾄ(&M)"),
             sep(),
             check(40030, "建物数情報(&C)"),
             check(40059, "部隊表(&B)"),
             check(40060, "兵器一覧(&W)"),
             check(40067, "地形ﾗﾍﾞﾙ一覧(&L)"),
             check(40077, "部隊ﾗﾍﾞﾙ一覧(&U)"),
             sep(),
             check(40003, "地形情報(&D)"),
             check(40052, "地形移動表(&M)"),
             check(40081, "地形回避表(&A)"),
             check(40061, "輸送可能地形(&Y)")}),
        sub("表示(&V)",
            {check(40011, "大範囲表示(&L)"),
             check(40009, "中範囲表示(&M)"),
             check(40091, "小範囲表示(&S)"),
             sep(),
             check(40010, "ヘックス枠(&F)"),
             check(40068, "部隊表示(&T)"),
             check(40069, "地形ﾗﾍﾞﾙ表示(&P)"),
             check(40076, "勝敗条件ﾗﾍﾞﾙ表示(&W)"),
             check(40094, "国境線表示(&B)"),
             sep(),
             sub("部隊ｱｲｺﾝ（&U)", {check(40098, "ﾕﾆｯﾄ(&U)"), check(40099, "兵器ﾀｲﾌﾟ(&T)")}),
             item(40100, "陣営色のｶｽﾀﾏｲｽﾞ(&C)")}),
        sub("ﾂｰﾙ(&T)",
            {sub("描画種類(&D)",
                 {check(40035, "ﾍﾟﾝ(&P)"), check(40036, "線(&L)"), check(40037, "箱塗り(&B)"),
                  check(40045, "塗りつぶし(&A)"), check(40038, "ｺﾋﾟｰ(&C)"),
                  check(40039, "道路/河川削除(&R)")}),
             sub("ﾍﾟﾝ種類(&P)", {check(40041, "ｼﾝｸﾞﾙﾍｯｸｽ(&S)"), check(40042, "ﾒｶﾞﾍｯｸｽ(&M)")}),
             sub("部隊描画種類(&T)",
                 {check(40078, "部隊配置(&P)"), check(40079, "部隊移動(&M)"),
                  check(40080, "部隊削除(&D)")}),
             sub("ﾏｯﾌﾟの描画方法(&M)",
                 {check(40049, "下絵のみ(&U)"), check(40050, "ﾏｯﾌﾟのみ(&M)"),
                  check(40051, "透過(&T)")})}),
        sub("ﾍﾙﾌﾟ(&H)", {item(40033, "ﾊﾞｰｼﾞｮﾝ情報(&A)")}),
    };
}

}  // namespace

const std::vector<MenuEntry>& menuBarTable() {
    static const std::vector<MenuEntry> table = build();
    return table;
}

}  // namespace kv
