// The demo forces: three nations taking part (the user's Ardena against the allied Loren
// and Servia), their troops in every division (some stowed in buildings, some carried by
// helicopters, vehicles and ships, two reinforcements), victory conditions and the texts.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "document/map_document.h"
#include "document/troop_capacity.h"
#include "document/troop_slots.h"
#include "sampledata/demo_build.h"

namespace kv::sample::demo {

namespace {

// Weapons of the sample arsenal.
constexpr int kInterceptor = 100, kFighter = 110, kStrikeFighter = 120, kAttacker = 130,
              kAttackHeli = 230, kTroopHeli = 240, kHeavyHeli = 250, kTankA = 1000, kTankB = 1010,
              kIfv = 1020, kApc = 1030, kScoutCar = 1040, kSpGun = 1060, kTowedGun = 1070,
              kAaVehicle = 1110, kSam = 1140, kAntiShip = 1170, kRadar = 1200, kSupply = 1210,
              kInfantry = 1220, kAntiTank = 1230, kEngineers = 1240, kHeadquarters = 1250,
              kCruiser = 2020, kAegisDestroyer = 2030, kDestroyer = 2040, kFrigate = 2050,
              kCorvette = 2060, kCarrier = 2080, kLandingShip = 2100, kSubmarine = 2140;

constexpr int kAir = 0, kArmy = 1, kNavy = 2;
constexpr uint8_t kAnnihilation = 5;

using slots::directSlot;
using slots::regimentSlot;

class Forces {
public:
    explicit Forces(MapDocument& doc) : doc_(doc) {}

    // A troop standing on the first hex around `near` where its weapon may stand and its
    // stack position is free (rivers and bridges are left clear).
    void stand(int f, int slot, int weapon, HexPos near, int turn = 1) {
        TroopRecord& t = make(f, slot, weapon, turn);
        const int move = doc_.gameDatabase.weapon(weapon).movementType();
        const std::optional<HexPos> h = searchRings(doc_.area(), near, [&](HexPos p) {
            const HexCell& c = *doc_.cellAt(p.col, p.row);
            if (c.riverLinks() != 0 || c.tempBridge != 0 || c.bridgePiece != 0) return false;
            if (doc_.gameDatabase.hexMoveCost({c.terrain, c.roadLinks, c.river, 0}, move) == 0)
                return false;
            const HexOverlay& o = *doc_.overlayAt(p.col, p.row);
            return o.stackTable[doc_.stackPositionFor(t)] == 0 && !usedByReinforcement(p, turn);
        });
        if (!h) {
            fail("no hex for a troop");
            return;
        }
        t.setPosition(h->col, h->row);
        if (turn == 1 && !doc_.enterTroopInStack(f, slot)) fail("stack taken");
        if (turn > 1) reinforcementHexes_.push_back({*h, turn});
    }

    // A troop stowed in the building at `at`.
    void stow(int f, int slot, int weapon, HexPos at, int turn = 1) {
        TroopRecord& t = make(f, slot, weapon, turn);
        t.setPosition(at.col, at.row);
        t.setFlags(static_cast<uint16_t>(t.flags() | kTroopStowed));
        if (!canStowAt(doc_, weapon, at.col, at.row)) fail("cannot stow");
        doc_.enterTroopInStack(f, slot);
    }

    // A troop loaded in the carrier in `carrierSlot` of the same faction.
    void load(int f, int slot, int weapon, int carrierSlot) {
        TroopRecord& carrier = *doc_.troopAt(f, carrierSlot);
        TroopRecord& t = make(f, slot, weapon, carrier.appearanceTurn());
        t.setPosition(carrier.col(), carrier.row());
        t.setFlags(static_cast<uint16_t>(t.flags() | kTroopLoaded));
        t.setCarrier(f + 1, carrierSlot + 1);
        for (int i = 0; i < TroopRecord::kCargoEntries; ++i) {
            if (carrier.cargoEntry(i) != 0) continue;
            carrier.setCargoEntry(i, static_cast<uint16_t>(slot + 1));
            return;
        }
        fail("carrier full");
    }

    void condition(int f, int slot, uint8_t kind, HexPos destination = {0, 0}) {
        TroopRecord& t = *doc_.troopAt(f, slot);
        t.bytes[kTroopConditionAt] = kind;
        if (kind & kConditionTransport) {
            t.bytes[kTroopDestColAt] = static_cast<uint8_t>(destination.col);
            t.bytes[kTroopDestRowAt] = static_cast<uint8_t>(destination.row);
        }
    }

    // Every regiment with troops is formed, led by its first troop.
    void formRegiments() {
        for (int f = 0; f < kFactionCount; ++f)
            for (int d = 0; d < slots::kDivisions; ++d)
                for (int r = 0; r < slots::kRegiments; ++r)
                    for (int u = 0; u < slots::kUnitsPerRegiment; ++u) {
                        if (!doc_.troopAt(f, regimentSlot(d, r, u))->inUse()) continue;
                        RegimentRecord& rec = doc_.regiments[size_t(f)][size_t(6 * d + r)];
                        rec.setFormed(1);
                        rec.setCommanderSlot(static_cast<uint16_t>(regimentSlot(d, r, u)));
                        break;
                    }
    }

    const std::string& error() const { return error_; }

private:
    TroopRecord& make(int f, int slot, int weapon, int turn) {
        TroopRecord& t = *doc_.troopAt(f, slot);
        t.clear();
        t.setAppearanceTurn(turn);
        t.setName(doc_.gameDatabase.weapon(weapon).name());
        t.setWeaponId(static_cast<uint16_t>(weapon));
        // Full strength in every unit, as a newly placed troop.
        const uint8_t strength = doc_.gameDatabase.weapon(weapon).memberStrength();
        t.setUnits(TroopRecord::kUnitSlots, strength > 0 ? strength : uint8_t{1});
        t.setDivision(static_cast<uint8_t>(slots::divisionOf(slot)));
        doc_.troops.raiseCount(f, slot);
        if (!doc_.isWeaponInProduct(weapon)) fail("weapon not in the product");
        return t;
    }

    bool usedByReinforcement(HexPos p, int turn) const {
        for (const auto& [h, t] : reinforcementHexes_)
            if (h == p && t == turn) return true;
        return false;
    }

    void fail(const char* what) {
        if (error_.empty()) error_ = std::string("demo forces: ") + what;
    }

    MapDocument& doc_;
    std::vector<std::pair<HexPos, int>> reinforcementHexes_;
    std::string error_;
};

void blueForces(Forces& x) {
    const int f = kBlue;
    x.stow(f, regimentSlot(kAir, 0, 0), kFighter, kBlueAirport);
    x.stow(f, regimentSlot(kAir, 0, 1), kStrikeFighter, kBlueAirport);
    x.stand(f, regimentSlot(kAir, 0, 2), kAttacker, {15, 21});
    x.stand(f, directSlot(kAir, 0), kTroopHeli, {12, 22});
    x.stand(f, directSlot(kAir, 1), kAttackHeli, {13, 25});
    x.stand(f, regimentSlot(kArmy, 0, 0), kTankA, {17, 24});
    x.stand(f, regimentSlot(kArmy, 0, 1), kTankA, {18, 24});
    x.stand(f, regimentSlot(kArmy, 0, 2), kIfv, {17, 25});
    x.load(f, regimentSlot(kArmy, 0, 3), kAntiTank, regimentSlot(kArmy, 0, 2));
    x.stand(f, regimentSlot(kArmy, 1, 0), kSpGun, {15, 27});
    x.stand(f, regimentSlot(kArmy, 1, 1), kAaVehicle, {16, 28});
    x.stand(f, regimentSlot(kArmy, 1, 2), kTowedGun, {14, 27});
    x.stand(f, directSlot(kArmy, 0), kHeadquarters, {11, 25});
    x.condition(f, directSlot(kArmy, 0), kAnnihilation);
    x.stand(f, directSlot(kArmy, 1), kSupply, {10, 25});
    x.load(f, directSlot(kArmy, 2), kInfantry, directSlot(kAir, 0));
    x.stow(f, directSlot(kArmy, 3), kEngineers, kBlueCapital);
    x.stand(f, directSlot(kArmy, 4), kAntiTank, {12, 26});
    x.condition(f, directSlot(kArmy, 4), kConditionTransport, kRedCity);
    const HexPos port = bluePort();
    x.stand(f, regimentSlot(kNavy, 0, 0), kDestroyer, {port.col - 2, port.row});
    x.stand(f, regimentSlot(kNavy, 0, 1), kFrigate, {port.col - 3, port.row - 2});
    x.stand(f, directSlot(kNavy, 0), kLandingShip, {port.col - 2, port.row + 2});
    x.load(f, regimentSlot(kArmy, 2, 0), kTankB, directSlot(kNavy, 0));
    x.stand(f, directSlot(kNavy, 1), kSubmarine, {port.col - 5, port.row - 4});
    x.stow(f, directSlot(kNavy, 2), kCorvette, port);
    // Reinforcements: a tank company in turn 5, a fighter in turn 8.
    x.stand(f, regimentSlot(kArmy, 2, 1), kTankA, {12, 22}, 5);
    x.stow(f, regimentSlot(kAir, 0, 3), kFighter, kBlueAirport, 8);
}

void redForces(Forces& x) {
    const int f = kRed;
    x.stow(f, regimentSlot(kAir, 0, 0), kInterceptor, kRedAirfield);
    x.stow(f, regimentSlot(kAir, 0, 1), kFighter, kRedAirfield);
    x.stand(f, directSlot(kAir, 0), kAttackHeli, {37, 10});
    x.stand(f, directSlot(kAir, 1), kHeavyHeli, {40, 9});
    x.load(f, directSlot(kArmy, 2), kScoutCar, directSlot(kAir, 1));
    x.stand(f, regimentSlot(kArmy, 0, 0), kTankB, {35, 9});
    x.stand(f, regimentSlot(kArmy, 0, 1), kTankB, {35, 10});
    x.stand(f, regimentSlot(kArmy, 0, 2), kIfv, {36, 11});
    x.load(f, regimentSlot(kArmy, 0, 3), kInfantry, regimentSlot(kArmy, 0, 2));
    x.stand(f, regimentSlot(kArmy, 0, 4), kSam, {37, 7});
    x.stand(f, directSlot(kArmy, 0), kHeadquarters, {39, 8});
    x.stand(f, directSlot(kArmy, 1), kAaVehicle, {41, 12});
    x.stow(f, directSlot(kArmy, 3), kInfantry, kRedCity);
}

void greenForces(Forces& x) {
    const int f = kGreen;
    const HexPos port = greenPort();
    x.stand(f, regimentSlot(kArmy, 0, 0), kTankA, {36, 25});
    x.stand(f, regimentSlot(kArmy, 0, 1), kTankA, {35, 24});
    x.stand(f, regimentSlot(kArmy, 0, 2), kApc, {37, 24});
    x.load(f, regimentSlot(kArmy, 0, 3), kInfantry, regimentSlot(kArmy, 0, 2));
    x.load(f, regimentSlot(kArmy, 0, 4), kAntiTank, regimentSlot(kArmy, 0, 2));
    x.stand(f, directSlot(kArmy, 0), kAntiShip, {40, 27});
    x.stand(f, directSlot(kArmy, 1), kRadar, {39, 24});
    x.stand(f, regimentSlot(kNavy, 0, 0), kCruiser, {port.col, port.row + 3});
    x.stand(f, regimentSlot(kNavy, 0, 1), kAegisDestroyer, {port.col + 3, port.row + 3});
    x.stand(f, directSlot(kNavy, 0), kCarrier, {port.col - 4, port.row + 3});
    x.load(f, regimentSlot(kAir, 0, 0), kFighter, directSlot(kNavy, 0));
    x.stow(f, directSlot(kNavy, 1), kCorvette, port);
}

struct Nation {
    const char* name;
    uint8_t participation;
    uint8_t behaviour;
    uint8_t alliances;
    int32_t funds;
    uint8_t victory[3];  // building, troop, transport
};

void setUpFactions(MapDocument& doc) {
    const Nation nations[] = {
        {"アルデナ共和国", kFactionUser, 2, 0, 60000, {1, 0, 1}},
        {"北ローレン連邦", kFactionComputer, 0, 1u << kGreen, 50000, {1, 1, 0}},
        {"セルヴィア王国", kFactionComputer, 1, 1u << kRed, 40000, {1, 0, 0}},
    };
    for (int f = 0; f < 3; ++f) {
        FactionRecord& r = doc.factions[size_t(f)];
        const Nation& n = nations[f];
        r.setName(cp932(n.name));
        r.setParticipation(n.participation);
        r.setBehaviour(n.behaviour);
        r.setAlliances(n.alliances);
        r.setFunds(n.funds);
        for (int v = 0; v < 3; ++v) r.setVictory(v, n.victory[v]);
        // The nations' own product types follow the joint one in the sample data.
        const int type = f + 1;
        if (!doc.gameDatabase.productType(type).name().empty())
            r.setProductionType(static_cast<uint8_t>(type));
    }
}

void setUpHeader(MapDocument& doc) {
    doc.mapHeader.setMapName(cp932("演習シナリオ「セルヴィア川の戦い」"));
    doc.mapHeader.setMessage(
        cp932("セルヴィア川を挟んだ三国の戦い。首都を守り、敵の首都を占領せよ。"));
    doc.mapHeader.setTurnLimit(30);
    doc.mapHeader.setDifficulty(2);
    doc.mapHeader.setOperationRank(5);
}

}  // namespace

std::string buildForces(MapDocument& doc) {
    setUpHeader(doc);
    setUpFactions(doc);
    Forces forces(doc);
    blueForces(forces);
    redForces(forces);
    greenForces(forces);
    forces.formRegiments();
    doc.troops.recomputeCounts();
    const std::string textError = setUpScenarioTexts(doc);
    doc.history.clear();
    return textError.empty() ? forces.error() : textError;
}

}  // namespace kv::sample::demo
