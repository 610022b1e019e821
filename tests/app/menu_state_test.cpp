// The menu state rules for idle, busy and paste-pending documents.
#include <gtest/gtest.h>

#include "app/menu_state.h"

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
    EXPECT_TRUE(s.items[40026].enabled);
    EXPECT_FALSE(s.items[40027].enabled);  // nothing to redo
    EXPECT_TRUE(s.items[40007].enabled);
    EXPECT_FALSE(s.items[40053].enabled);  // no bitmap on the clipboard
    EXPECT_FALSE(s.items[40085].enabled);  // no underlay
    EXPECT_TRUE(s.items[40055].checked);
    EXPECT_FALSE(s.items[40056].checked);
    EXPECT_FALSE(s.items[40074].enabled);  // no ending

    in.interactionBusy = true;  // a troop is being moved
    s = computeMenuState(in);
    for (int id : {40007, 40012, 40026, 40044, 40034, 40055, 40056, 40078})
        EXPECT_FALSE(s.items[id].enabled) << id;
    EXPECT_TRUE(s.items[40008].enabled);
    EXPECT_FALSE(s.items[40055].checked);  // not idle: no mode carries the check
    EXPECT_FALSE(s.toolSubMenuEnabled[2]);

    in = idleMap();
    in.areaSelectActive = true;  // a copied area waits to be pasted
    s = computeMenuState(in);
    EXPECT_FALSE(s.items[40055].enabled);
    EXPECT_TRUE(s.items[40055].checked);
    EXPECT_FALSE(s.toolSubMenuEnabled[0]);
    EXPECT_FALSE(s.toolSubMenuEnabled[1]);
    EXPECT_TRUE(s.items[40026].enabled);
}

TEST(MenuState, ModesRadiosAndViewChecks) {
    MenuInputs in = idleMap();
    in.editMode = 4;
    in.drawKind = 5;
    in.hexSize = 48;
    in.showTroops = true;
    in.showUnitIcon = 0;
    in.openWindows = {40032, 40022};
    MenuState s = computeMenuState(in);
    EXPECT_TRUE(s.items[40095].checked);
    EXPECT_TRUE(s.items[40045].checked);
    EXPECT_FALSE(s.items[40035].checked);
    EXPECT_FALSE(s.items[40038].enabled);  // copy only in terrain mode
    EXPECT_FALSE(s.items[40039].enabled);  // no road/river delete in border mode
    EXPECT_FALSE(s.items[40041].enabled);  // no pen kinds in border mode
    EXPECT_TRUE(s.items[40091].checked);
    EXPECT_FALSE(s.items[40009].checked);
    EXPECT_TRUE(s.items[40068].checked);
    EXPECT_FALSE(s.items[40010].checked);
    EXPECT_TRUE(s.items[40099].checked);
    EXPECT_FALSE(s.items[40098].checked);
    EXPECT_TRUE(s.items[40032].checked);
    EXPECT_FALSE(s.items[40032].enabled);  // terrain palette only in terrain mode
    EXPECT_TRUE(s.items[40096].enabled);
    EXPECT_FALSE(s.toolSubMenuEnabled[3]);
    EXPECT_TRUE(s.toolSubMenuEnabled[0]);

    in.editMode = 0;
    in.drawKind = 0;
    in.penChoiceOffered = false;
    s = computeMenuState(in);
    EXPECT_FALSE(s.items[40042].enabled);
    in.drawKind = 3;  // copy always offers the pen kinds
    s = computeMenuState(in);
    EXPECT_TRUE(s.items[40042].enabled);

    in.documentOpen = false;
    s = computeMenuState(in);
    EXPECT_FALSE(s.items[40091].enabled);
    EXPECT_FALSE(s.items[40091].checked);
    EXPECT_FALSE(s.items[40013].enabled);
}

}  // namespace
}  // namespace kv
