// Test fixture: a map document over the sample game data, reset to a new map, with a
// recording prompter; and small helpers that place troops as a file would.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "document/map_document.h"
#include "framework/profile.h"
#include "framework/prompter.h"
#include "support/test_paths.h"

namespace kvtest {

// Sample weapon ids.
inline constexpr int kTank = 1000;       // ground (stack position 1)
inline constexpr int kFighter = 110;     // air (stack position 0)
inline constexpr int kDestroyer = 2040;  // sea (stack position 2)
inline constexpr int kDrone = 185;       // in the data, not in this product
inline constexpr int kWarhead = 3000;    // the first warhead of the product

class SampleDocument : public testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new TempDir;
        copySampleData(dir_->path());
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }
    void SetUp() override {
        kv::setProgramPath(dir_->file("kvornme"));
        doc_ = std::make_unique<kv::MapDocument>();
        doc_->loadResources();
        doc_->resetToNewMap();
    }
    void TearDown() override {
        doc_.reset();
        kv::setProgramPath("");
    }

    kv::MapDocument& doc() { return *doc_; }

    // A troop record as a file holds it: in use from `turn`, with the weapon and position.
    static kv::TroopRecord troop(int weaponId, int col, int row, int turn = 1,
                                 const char* cp932Name = "T") {
        kv::TroopRecord t;
        t.setAppearanceTurn(turn);
        t.setName(cp932Name);
        t.setWeaponId(static_cast<uint16_t>(weaponId));
        t.setPosition(col, row);
        return t;
    }
    // Writes the troop into (table, slot) and raises the count, without undo.
    void putTroop(int table, int slot, const kv::TroopRecord& t) {
        *doc_->troopAt(table, slot) = t;
        doc_->troops.raiseCount(table, slot);
    }
    // Loads `cargoSlot` into `carrierSlot` of the same table, at cargo place `place`.
    void loadInto(int table, int cargoSlot, int carrierSlot, int place = 0) {
        kv::TroopRecord* cargo = doc_->troopAt(table, cargoSlot);
        cargo->setFlags(static_cast<uint16_t>(cargo->flags() | kv::kTroopLoaded));
        cargo->setCarrier(table + 1, carrierSlot + 1);
        doc_->troopAt(table, carrierSlot)
            ->setCargoEntry(place, static_cast<uint16_t>(cargoSlot + 1));
    }

    std::unique_ptr<kv::MapDocument> doc_;
    kv::RecordingPrompter prompts;
    kv::ScopedPrompter installed_{&prompts};

private:
    static inline TempDir* dir_ = nullptr;
};

}  // namespace kvtest
