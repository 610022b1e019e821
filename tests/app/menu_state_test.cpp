// The menu state rules for idle, busy and paste-pending documents.
#include <gtest/gtest.h>

#include "app/menu_state.h"
#include "document/map_document.h"

namespace kv {
namespace {

MenuInputs idleMap() {
    MenuInputs in;
    in.documentOpen = true;
    in.isClean = false;
    in.filePath = "/maps/a.kvt";
    in.fileExists = true;
    in.canUndo = true;
    return in;
}

TEST(MenuState, SaveNeedsAChangedMapWhoseIntermediateFileStillExists) {
    MenuInputs in = idleMap();
    EXPECT_TRUE(saveIntermediateEnabled(in));
    in.isClean = true;
    EXPECT_FALSE(saveIntermediateEnabled(in));  // nothing to save
    in = idleMap();
    in.filePath.clear();
    EXPECT_FALSE(saveIntermediateEnabled(in));  // never saved
    in = idleMap();
    in.fileExists = false;
    EXPECT_FALSE(saveIntermediateEnabled(in));  // deleted outside the editor
    for (const char* path : {"/maps/a.kvs", "/maps/a.KVT", "/maps/a.kvn", "kt"}) {
        in = idleMap();
        in.filePath = path;
        EXPECT_FALSE(saveIntermediateEnabled(in)) << path;
    }
    in = idleMap();
    in.filePath = "/maps/akvt";  // the letters, not the dot, decide
    EXPECT_TRUE(saveIntermediateEnabled(in));
    in = idleMap();
    in.interactionBusy = true;
    EXPECT_FALSE(saveIntermediateEnabled(in));
}

TEST(MenuState, IdleBusyAndPastePending) {
    MenuInputs in = idleMap();
    MenuState s = computeMenuState(in);
    EXPECT_TRUE(s.items[cmd::Undo].enabled);
    EXPECT_FALSE(s.items[cmd::Redo].enabled);  // nothing to redo
    EXPECT_TRUE(s.items[cmd::NewMap].enabled);
    EXPECT_FALSE(s.items[cmd::PasteUnderlay].enabled);  // no bitmap on the clipboard
    EXPECT_FALSE(s.items[cmd::MoveUnderlay].enabled);   // no underlay
    EXPECT_TRUE(s.items[cmd::TerrainMode].checked);
    EXPECT_FALSE(s.items[cmd::TroopMode].checked);
    EXPECT_FALSE(s.items[cmd::EndingPreview].enabled);  // no ending
    EXPECT_TRUE(s.items[cmd::RunScript].enabled);

    in.interactionBusy = true;  // a troop is being moved
    s = computeMenuState(in);
    for (int id : {cmd::NewMap, cmd::OpenMap, cmd::Undo, cmd::MapSize, cmd::MapCheck,
                   cmd::TerrainMode, cmd::TroopMode, cmd::TroopPlace, cmd::RunScript})
        EXPECT_FALSE(s.items[id].enabled) << id;
    EXPECT_TRUE(s.items[cmd::Exit].enabled);
    EXPECT_FALSE(s.items[cmd::TerrainMode].checked);  // not idle: no mode carries the check
    EXPECT_FALSE(s.menusEnabled.at(cmd::Menu::TroopDrawKind));

    in = idleMap();
    in.areaSelectActive = true;  // a copied area waits to be pasted
    s = computeMenuState(in);
    EXPECT_FALSE(s.items[cmd::TerrainMode].enabled);
    EXPECT_TRUE(s.items[cmd::TerrainMode].checked);
    EXPECT_FALSE(s.menusEnabled.at(cmd::Menu::DrawKind));
    EXPECT_FALSE(s.menusEnabled.at(cmd::Menu::PenKind));
    EXPECT_TRUE(s.items[cmd::Undo].enabled);
}

TEST(MenuState, ModesRadiosAndViewChecks) {
    MenuInputs in = idleMap();
    in.editMode = kEditBorderlines;
    in.drawKind = kDrawFlood;
    in.hexSize = 48;
    in.showTroops = true;
    in.showUnitIcon = 0;
    in.openWindows = {cmd::TerrainPalette, cmd::HqMap};
    MenuState s = computeMenuState(in);
    EXPECT_TRUE(s.items[cmd::BorderMode].checked);
    EXPECT_TRUE(s.items[cmd::DrawFlood].checked);
    EXPECT_FALSE(s.items[cmd::DrawPen].checked);
    EXPECT_FALSE(s.items[cmd::DrawCopy].enabled);         // copy only in terrain mode
    EXPECT_FALSE(s.items[cmd::DrawDeleteLinks].enabled);  // no road/river delete in border mode
    EXPECT_FALSE(s.items[cmd::PenSingle].enabled);        // no pen kinds in border mode
    EXPECT_TRUE(s.items[cmd::Zoom48].checked);
    EXPECT_FALSE(s.items[cmd::Zoom32].checked);
    EXPECT_TRUE(s.items[cmd::ShowTroops].checked);
    EXPECT_FALSE(s.items[cmd::ShowHexFrame].checked);
    EXPECT_TRUE(s.items[cmd::UnitIconWeaponTypes].checked);
    EXPECT_FALSE(s.items[cmd::UnitIconPictures].checked);
    EXPECT_TRUE(s.items[cmd::TerrainPalette].checked);
    EXPECT_FALSE(s.items[cmd::TerrainPalette].enabled);  // terrain palette only in terrain mode
    EXPECT_TRUE(s.items[cmd::BorderPalette].enabled);
    EXPECT_FALSE(s.menusEnabled.at(cmd::Menu::MapDrawMethod));
    EXPECT_TRUE(s.menusEnabled.at(cmd::Menu::DrawKind));

    in.editMode = kEditTerrain;
    in.drawKind = kDrawPen;
    in.penChoiceOffered = false;
    s = computeMenuState(in);
    EXPECT_FALSE(s.items[cmd::PenMega].enabled);
    in.drawKind = kDrawCopy;  // copy always offers the pen kinds
    s = computeMenuState(in);
    EXPECT_TRUE(s.items[cmd::PenMega].enabled);

    in.documentOpen = false;
    s = computeMenuState(in);
    EXPECT_FALSE(s.items[cmd::Zoom48].enabled);
    EXPECT_FALSE(s.items[cmd::Zoom48].checked);
    EXPECT_FALSE(s.items[cmd::SaveIntermediate].enabled);
}

}  // namespace
}  // namespace kv
