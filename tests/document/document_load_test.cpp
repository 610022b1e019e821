// Finishing a load: the repairs after the file reader filled the records, the user-defined
// weapon re-binding with its one message, the weapon check, and hostile record values.
#include <gtest/gtest.h>

#include "framework/cp932.h"
#include "framework/errors.h"
#include "sample_document.h"

namespace kv {
namespace {

using kvtest::kDestroyer;
using kvtest::kDrone;
using kvtest::kFighter;
using kvtest::kTank;

std::string sj(const char* utf8) {
    return *encodeCp932(utf8);
}

WeaponRecord userWeapon(int id, const char* utf8Name) {
    WeaponRecord w;
    w.setId(static_cast<uint16_t>(id));
    w.setName(sj(utf8Name));
    w.setSelectable(1);
    w.setLayer(3);
    return w;
}

class DocumentLoad : public kvtest::SampleDocument {
protected:
    // A reader that fills the records through `fill`, as the file reader does.
    bool loadWith(const std::function<void(MapDocument&)>& fill) {
        return doc().load([&](MapDocument& d) {
            fill(d);
            return true;
        });
    }
};

TEST_F(DocumentLoad, TurnLimitAboveNinetyNineReadsAsNinetyNine) {
    EXPECT_TRUE(loadWith([](MapDocument& d) { d.mapHeader.setTurnLimit(150); }));
    EXPECT_EQ(doc().mapHeader.turnLimit(), 99);
}

TEST_F(DocumentLoad, ImpossibleMapSizesBecomeTheNearestPossible) {
    loadWith([](MapDocument& d) { d.mapHeader.setSize(0, 700); });
    EXPECT_EQ(doc().mapHeader.width(), 1);
    EXPECT_EQ(doc().mapHeader.height(), 256);
    EXPECT_NE(doc().cellAt(0, 255), nullptr);
    EXPECT_EQ(doc().cellAt(1, 0), nullptr);
    loadWith([](MapDocument& d) { d.mapHeader.setSize(65535, 65535); });
    EXPECT_EQ(doc().width() * doc().height(), 65536);
    EXPECT_TRUE(doc().viewSettings.redrawGrid.isDirty(255, 255));
}

TEST_F(DocumentLoad, AnthemsAreFoundByName) {
    const auto& names = doc().gameDatabase.anthemNames();
    ASSERT_GE(names.size(), 3u);
    loadWith([&](MapDocument& d) {
        d.factions[0].setAnthem(100);  // stored number is stale; the name decides
        d.factions[0].setAnthemName(names[2]);
        d.factions[1].setAnthem(140);
        d.factions[1].setAnthemName(sj("無い国歌"));
        d.factions[2].setAnthem(0);
        d.factions[2].setAnthemName(names[0]);  // automatic: left alone
    });
    EXPECT_EQ(doc().factions[0].anthem(), 102);
    EXPECT_EQ(doc().factions[1].anthem(), 0);
    EXPECT_EQ(doc().factions[1].anthemName(), "");
    EXPECT_EQ(doc().factions[2].anthem(), 0);
    EXPECT_EQ(doc().factions[2].anthemName(), names[0]);
}

TEST_F(DocumentLoad, LabelNumbersAndTroopCountsAreRebuilt) {
    loadWith([](MapDocument& d) {
        d.mapGrid.labels[0].setText("A");
        d.mapGrid.labels[0].col = 3;
        d.mapGrid.labels[0].row = 4;
        d.mapGrid.labels[2].setText("B");  // a gap in the file
        d.mapGrid.labels[2].col = 5;
        d.mapGrid.labels[2].row = 6;
        d.mapGrid.labels[3].setText("C");  // outside the map: kept, numbered nowhere
        d.mapGrid.labels[3].col = 200;
        d.mapGrid.labels[3].row = 200;
        *d.troopAt(3, 41) = troop(kTank, 1, 1);
        d.troops.count[3] = 0;
        d.troops.count[4] = 77;  // nothing in use
    });
    EXPECT_EQ(doc().labelCount(), 3);
    EXPECT_EQ(doc().labelNumberAt(3, 4), 1);
    EXPECT_EQ(doc().labelNumberAt(5, 6), 2);
    EXPECT_EQ(doc().labelAt(5, 6)->textString(), "B");
    EXPECT_EQ(doc().troops.count[3], 42);
    EXPECT_EQ(doc().troops.count[4], 0);
}

TEST_F(DocumentLoad, TroopStacksComeFromTheTroopsPlacedAtTheStart) {
    loadWith([](MapDocument& d) {
        *d.troopAt(0, 0) = troop(kTank, 5, 5);
        *d.troopAt(1, 3) = troop(kFighter, 5, 5);
        *d.troopAt(2, 0) = troop(kTank, 5, 5);          // the ground position is taken: deleted
        *d.troopAt(2, 1) = troop(kDestroyer, 9, 9, 4);  // a reinforcement: not on the map yet
        *d.troopAt(3, 0) = troop(kTank, 6, 6);
        d.troopAt(3, 0)->setFlags(kTroopStowed);
        *d.troopAt(4, 0) = troop(kTank, 7, 7);
        d.troopAt(4, 0)->setFlags(kTroopUnplaced);
    });
    const HexOverlay* o = doc().overlayAt(5, 5);
    EXPECT_EQ(o->stackTable[1], 1);
    EXPECT_EQ(o->stackSlot[1], 0);
    EXPECT_EQ(o->stackTable[0], 2);
    EXPECT_EQ(o->stackSlot[0], 3);
    EXPECT_FALSE(doc().troopAt(2, 0)->inUse());
    EXPECT_TRUE(doc().troopAt(2, 1)->inUse());
    EXPECT_EQ(*doc().overlayAt(9, 9), HexOverlay{});
    EXPECT_EQ(doc().overlayAt(6, 6)->occupied, 1);
    EXPECT_EQ(doc().overlayAt(6, 6)->stackTable[1], 0);
    EXPECT_EQ(*doc().overlayAt(7, 7), HexOverlay{});
}

TEST_F(DocumentLoad, MissingUserWeaponDeletesTheTroopAndItsCargoWithOneMessage) {
    // The editor's own user weapon; the game stored it under another id.
    doc().gameDatabase.storeUserWeapon(userWeapon(5001, "ユーザー戦車"));
    loadWith([&](MapDocument& d) {
        d.factions[1].setName("RED");
        d.factions[2].setName("GREEN");
        *d.troopAt(1, 0) = troop(12345, 2, 3, 1, sj("ユーザー戦車").c_str());
        // An unknown one carrying two troops, and one loaded in a troop that stays.
        *d.troopAt(2, 4) = troop(10007, 10, 11, 1, sj("幻の輸送艦").c_str());
        *d.troopAt(2, 5) = troop(kTank, 10, 11, 1, "Cargo A");
        *d.troopAt(2, 9) = troop(kTank, 10, 11, 1, "Cargo B");
        *d.troopAt(2, 20) = troop(kDestroyer, 30, 31, 1, "Ship");
        *d.troopAt(2, 21) = troop(11000, 30, 31, 1, "Ghost");
        loadInto(2, 5, 4, 0);
        loadInto(2, 9, 4, 1);
        loadInto(2, 21, 20, 3);
    });
    EXPECT_EQ(doc().troopAt(1, 0)->weaponId(), 5001);
    for (int slot : {4, 5, 9, 21}) EXPECT_FALSE(doc().troopAt(2, slot)->inUse()) << slot;
    const TroopRecord* ship = doc().troopAt(2, 20);
    ASSERT_TRUE(ship->inUse());
    EXPECT_EQ(ship->cargoEntry(3), 0);  // the carrier no longer names the deleted cargo
    EXPECT_EQ(doc().overlayAt(30, 31)->stackTable[2], 3);
    ASSERT_EQ(prompts.seen.size(), 1u);
    EXPECT_EQ(prompts.seen[0].caption, "注意");
    EXPECT_EQ(prompts.seen[0].text,
              "以下のユーザー定義兵器はデータが正常に取得出来なかった為、\n削除されました。\n"
              "GREEN\nNo.4 [ 10, 11] 幻の輸送艦\n"
              "GREEN\nNo.21 [ 30, 31] Ghost\n"
              "\n下記兵器は、上記ユーザー定義兵器に搭載されていた為、\n削除されました。\n"
              "GREEN\nNo.5 [ 10, 11] Cargo A\n"
              "GREEN\nNo.9 [ 10, 11] Cargo B\n");
    EXPECT_TRUE(doc().removedWeapons.empty());
    EXPECT_EQ(doc().collectingRemovals, 0);
}

TEST_F(DocumentLoad, CarrierLoopsInBrokenFilesEnd) {
    loadWith([&](MapDocument& d) {
        *d.troopAt(0, 0) = troop(10001, 1, 1, 1, "A");
        *d.troopAt(0, 1) = troop(kTank, 1, 1, 1, "B");
        loadInto(0, 1, 0);
        loadInto(0, 0, 1);  // each carries the other
    });
    EXPECT_FALSE(doc().troopAt(0, 0)->inUse());
    EXPECT_FALSE(doc().troopAt(0, 1)->inUse());
}

TEST_F(DocumentLoad, WeaponOutsideTheProductGivesANewMap) {
    const bool ok = loadWith([](MapDocument& d) {
        d.mapHeader.setMapName("Loaded");
        *d.troopAt(0, 0) = troop(kTank, 1, 1);
        *d.troopAt(5, 3) = troop(kDrone, 2, 2);
    });
    EXPECT_FALSE(ok);
    ASSERT_EQ(prompts.seen.size(), 1u);
    EXPECT_EQ(prompts.seen[0].text, "本製品に含まれていない兵器データが使用されています。");
    EXPECT_EQ(prompts.seen[0].caption, "注意");
    EXPECT_EQ(doc().mapHeader.mapName(), sj("新規マップ"));
    EXPECT_FALSE(doc().troopAt(0, 0)->inUse());
}

TEST_F(DocumentLoad, UnknownWeaponIdFailsTheCheckToo) {
    EXPECT_FALSE(loadWith([](MapDocument& d) { *d.troopAt(0, 0) = troop(4999, 1, 1); }));
    // An empty slot's weapon does not count.
    EXPECT_TRUE(loadWith([](MapDocument& d) { *d.troopAt(0, 0) = troop(4999, 1, 1, 0); }));
}

TEST_F(DocumentLoad, ReaderFailuresLeaveANewMap) {
    EXPECT_FALSE(doc().load([](MapDocument& d) {
        d.mapHeader.setMapName("Half");
        return false;  // not a map file
    }));
    EXPECT_EQ(doc().mapHeader.mapName(), sj("新規マップ"));
    EXPECT_FALSE(doc().load([](MapDocument& d) -> bool {
        d.cellAt(0, 0)->terrain = 1;
        throw swCFileError(swCFileError::Read, "x.kvn");
    }));
    EXPECT_EQ(doc().cellAt(0, 0)->terrain, 30);
    EXPECT_EQ(prompts.seen.size(), 1u);  // the file error was reported
}

TEST_F(DocumentLoad, HistoryIsEmptyAndEveryHexDirtyAfterALoad) {
    doc().history.begin();
    doc().history.recordHex(1, 1);
    doc().viewSettings.redrawGrid.markAllClean();
    loadWith([](MapDocument& d) { d.mapHeader.setSize(10, 10); });
    EXPECT_TRUE(doc().history.undoStack().empty());
    EXPECT_TRUE(doc().history.redoStack().empty());
    EXPECT_EQ(doc().viewSettings.redrawGrid.width(), 10);
    EXPECT_TRUE(doc().viewSettings.redrawGrid.isDirty(9, 9));
}

TEST_F(DocumentLoad, DerivedHexDataFollowsTheTerritories) {
    loadWith([](MapDocument& d) {
        d.cellAt(4, 4)->territory = 1;
        d.cellAt(5, 4)->territory = 2;
    });
    EXPECT_EQ(doc().overlayAt(4, 4)->borderBits, 0x3F);  // every neighbour differs
    EXPECT_EQ(doc().overlayAt(5, 4)->borderBits, 0x3F);
    EXPECT_EQ(doc().overlayAt(6, 4)->borderBits, 0);  // no territory, no borderline
}

TEST_F(DocumentLoad, SaveFixUpTurnsLoneRiverTerrainIntoLand) {
    MapDocument& d = doc();
    d.cellAt(1, 1)->terrain = kTerrainRiver;
    d.cellAt(2, 1)->terrain = kTerrainDeepRiver;
    d.cellAt(3, 1)->terrain = kTerrainFrozenRiver;
    d.cellAt(4, 1)->terrain = kTerrainRiver;
    d.cellAt(4, 1)->river = 0x41;  // linked: stays
    d.cellAt(5, 1)->terrain = 31;  // a capital with roads loses them
    d.cellAt(5, 1)->roadLinks = 0x09;
    d.cellAt(6, 1)->terrain = 1;
    d.cellAt(6, 1)->roadLinks = 0x09;
    d.prepareForSave();
    EXPECT_EQ(d.cellAt(1, 1)->terrain, kTerrainPlain);
    EXPECT_EQ(d.cellAt(1, 1)->picture, d.gameDatabase.terrain(kTerrainPlain).defaultPicture);
    EXPECT_EQ(d.cellAt(2, 1)->terrain, kTerrainPlain);
    EXPECT_EQ(d.cellAt(3, 1)->terrain, kTerrainSnowField);
    EXPECT_EQ(d.cellAt(4, 1)->terrain, kTerrainRiver);
    EXPECT_EQ(d.cellAt(5, 1)->roadLinks, 0);
    EXPECT_EQ(d.cellAt(6, 1)->roadLinks, 0x09);
}

TEST_F(DocumentLoad, ProductionListsRefreshOnlyForBuiltInTypesTakingPart) {
    MapDocument& d = doc();
    d.productionLists[0].setName("stale");
    d.productionLists[1].setName("stale");
    d.productionLists[2].setName("stale");
    d.factions[0].setParticipation(kFactionUser);
    d.factions[1].setParticipation(kFactionComputer);
    d.factions[1].setProductionType(150);  // a user list keeps the map's copy
    d.refreshProductionLists();
    EXPECT_EQ(d.productionLists[0], d.gameDatabase.productType(0));
    EXPECT_EQ(d.productionLists[1].name(), "stale");
    EXPECT_EQ(d.productionLists[2].name(), "stale");
}

}  // namespace
}  // namespace kv
