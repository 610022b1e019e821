// The troop tools: placing the brush's troop, moving a troop picked up on one hex to another,
// recalling, and the troop context menu with its commands.
#include "view/troop_tools.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <utility>

#include "document/map_document.h"
#include "document/regiments.h"
#include "document/troop_edit.h"
#include "document/troop_properties.h"
#include "document/troop_slots.h"
#include "framework/cp932.h"
#include "framework/prompter.h"

// Qt's keyword macro would swallow the organisation's namespace name.
#undef slots

namespace kv {

namespace {

constexpr size_t kStowingRule = 6;  // 収納

bool stowingRule(const MapDocument& doc) {
    return doc.ruleSettings.value(kStowingRule) != 0;
}

void warn(const char* text) {
    showMessage("警告", text, PromptIcon::Exclamation);
}

// The message of a refused placement or loading.
void reportPlacement(int result) {
    if (const char* text = troopRefusalText(result)) warn(text);
}

std::string buildingName(const MapDocument& doc, HexPos hex) {
    const HexCell* c = doc.cellAt(hex.col, hex.row);
    if (!c) return {};
    const TerrainType& t = doc.gameDatabase.terrain(c->terrain);
    return decodeCp932Lossy(fieldText(t.name, sizeof t.name));
}

bool reinforcementsBlocked(const MapDocument& doc) {
    return doc.tool.editMode == kEditReinforcements && doc.tool.reinforcementTurn < 2;
}

// The troop a chooser entry or a lone troop of the hex names; {-1, -1} when none was chosen.
struct Chosen {
    int table = -1;
    int slot = -1;
};

// The hex's troop for a command: a single plain troop at once, else the chooser's choice.
Chosen pickTroop(ToolHost& host, const ToolPoint& p, ChooserMode mode,
                 const TroopToolHooks& hooks) {
    const MapDocument& doc = host.document();
    const std::vector<TroopAtHex> troops = troopsAtHex(doc, p.hex.col, p.hex.row);
    if (troops.empty()) return {};
    const bool anyStowed =
        std::any_of(troops.begin(), troops.end(), [](const TroopAtHex& t) { return t.stowed; });
    const uint16_t flags = doc.troopAt(troops[0].table, troops[0].slot)->flags();
    const uint16_t needsChoice =
        mode == ChooserMode::Recall ? kTroopBit2 : kTroopBit2 | kTroopGathered;
    if (troops.size() == 1 && !anyStowed && (flags & needsChoice) == 0)
        return {troops[0].table, troops[0].slot};
    if (!hooks.chooser) return {};
    const std::vector<TroopChooserEntry> entries = troopChoices(doc, p.hex);
    const int i = hooks.chooser(host, p, mode, entries);
    if (i < 0 || i >= int(entries.size()) || entries[size_t(i)].kind != TroopChooserEntry::Troop)
        return {};
    return {entries[size_t(i)].table, entries[size_t(i)].slot};
}

void recallWithQuestion(MapDocument& doc, int table, int slot) {
    if (showMessage("回収確認", "部隊を回収します。\nよろしいですか？", PromptIcon::Question,
                    PromptButtons::YesNo) == PromptAnswer::Yes)
        recallTroop(doc, table, slot);
}

void runMenuCommand(ToolHost& host, int table, int slot, int command, const TroopToolHooks& hooks) {
    MapDocument& doc = host.document();
    if (command >= kAffiliationItem) {
        changeAffiliation(doc, table, slot, command - kAffiliationItem);
        return;
    }
    switch (command) {
        case kTroopProperties:
        case kTroopDetails:
        case kTroopArmament:
            if (hooks.troopCommand) hooks.troopCommand(host, table, slot, command);
            break;
        case kTroopTransform:
            if (showMessage("確認", "変形を行います。\nよろしいですか？", PromptIcon::Question,
                            PromptButtons::YesNo) == PromptAnswer::Yes)
                transformTroop(doc, table, slot);
            break;
        case kTroopRegiment: {
            const int k = regimentIndexOfSlot(slot);
            const RegimentResult r = regimentOffersGather(doc, table, k)
                                         ? gatherRegiment(doc, table, k)
                                         : deployRegiment(doc, table, k);
            if (r == RegimentResult::Refused)
                showMessage("注意", kGatherRefusedText, PromptIcon::Exclamation);
            if (r == RegimentResult::Incomplete)
                showMessage("注意", kDeployIncompleteText, PromptIcon::Exclamation);
            break;
        }
        case kTroopRecall: recallWithQuestion(doc, table, slot); break;
        default: break;
    }
}

// Every troop tool opens the troop context menu on the right button.
class TroopToolBase : public MapTool {
public:
    explicit TroopToolBase(std::shared_ptr<const TroopToolHooks> hooks)
        : hooks_(std::move(hooks)) {}
    bool rightPress(ToolHost& host, const ToolPoint& p) override {
        if (!p.inMap) return true;
        cancel(host);
        const Chosen c = pickTroop(host, p, ChooserMode::Menu, hooks());
        if (c.table < 0) return true;
        const TroopRecord& t = *host.document().troopAt(c.table, c.slot);
        const int command =
            host.contextMenu({t.col(), t.row()}, troopMenu(host.document(), c.table, c.slot));
        if (command != 0) runMenuCommand(host, c.table, c.slot, command, hooks());
        return true;
    }

protected:
    const TroopToolHooks& hooks() const { return *hooks_; }

private:
    std::shared_ptr<const TroopToolHooks> hooks_;
};

class PlaceTool : public TroopToolBase {
public:
    using TroopToolBase::TroopToolBase;
    void press(ToolHost& host, const ToolPoint& p) override {
        MapDocument& doc = host.document();
        // A cleared brush (after each placement) puts nothing down and says nothing.
        if (!p.inMap || !doc.tool.troopBrush.valid || reinforcementsBlocked(doc)) return;
        const std::vector<TroopChooserEntry> entries = placementChoices(doc, p.hex);
        if (entries.empty()) {
            place(doc, p.hex, false);
            return;
        }
        if (!hooks().chooser) return;
        const int i = hooks().chooser(host, p, ChooserMode::Place, entries);
        if (i < 0 || i >= int(entries.size())) return;
        const TroopChooserEntry& e = entries[size_t(i)];
        if (e.kind == TroopChooserEntry::Place) place(doc, p.hex, false);
        if (e.kind == TroopChooserEntry::Stow) place(doc, p.hex, true);
        if (e.kind == TroopChooserEntry::Troop) reportPlacement(loadTroop(doc, e.table, e.slot));
    }

private:
    static void place(MapDocument& doc, HexPos hex, bool stow) {
        reportPlacement(placeTroop(doc, hex.col, hex.row, stow));
    }
};

class MoveTool : public TroopToolBase {
public:
    using TroopToolBase::TroopToolBase;
    void press(ToolHost& host, const ToolPoint& p) override {
        if (!p.inMap) return;
        if (source_.table < 0) {
            pickUp(host, p);
        } else if (!(p.hex == from_)) {
            moveTo(host, p);
        }
    }
    // A picked-up troop waits between gestures (the chooser takes the release of the press that
    // picked it), so only a reset (viewmsg::CancelTroopSelection, another tool or mode, a new
    // map) drops it.
    void reset(ToolHost& host) override { drop(host); }

private:
    void pickUp(ToolHost& host, const ToolPoint& p) {
        MapDocument& doc = host.document();
        if (reinforcementsBlocked(doc)) return;
        const Chosen c = pickTroop(host, p, ChooserMode::MoveSource, hooks());
        if (c.table < 0) return;
        source_ = c;
        from_ = p.hex;
        *doc.marksAt(from_.col, from_.row) |= kMarkMoveSource;
        doc.tool.interactionBusy = 1;
        host.queueHex(from_);
        host.flush();
    }
    void moveTo(ToolHost& host, const ToolPoint& p) {
        MapDocument& doc = host.document();
        const Chosen c = source_;
        const TroopRecord* t = doc.troopAt(c.table, c.slot);
        if (!t || !t->inUse()) {
            drop(host);
            return;
        }
        const int weapon = t->weaponId();
        const int p0 = doc.stackPositionFor(*t);
        const TroopAtHex holder =
            stackHolderOfTurn(doc, p.hex.col, p.hex.row, p0, t->appearanceTurn());
        const bool standOk =
            terrainAllows(doc, c.table, weapon, p.hex.col, p.hex.row) &&
            (holder.table < 0 || (holder.table == c.table && holder.slot == c.slot));
        const bool stowOk = stowingRule(doc) && mayStowAt(doc, weapon, p.hex.col, p.hex.row);
        // The move ends whatever comes of it.
        drop(host);
        int stow = -1;
        if (standOk && stowOk) {
            std::vector<TroopChooserEntry> e = {
                {TroopChooserEntry::Place, -1, -1, "ここに配置"},
                {TroopChooserEntry::Stow, -1, -1, "ここに収納 " + buildingName(doc, p.hex)}};
            const int i =
                hooks().chooser ? hooks().chooser(host, p, ChooserMode::MoveTarget, e) : -1;
            if (i < 0 || i > 1) return;
            stow = i;
        } else if (standOk || stowOk) {
            stow = stowOk ? 1 : 0;
        } else {
            showMessage("注意", "ここに部隊を移動できません。", PromptIcon::Exclamation);
            return;
        }
        moveTroop(doc, c.table, c.slot, p.hex.col, p.hex.row, stow == 1);
    }
    void drop(ToolHost& host) {
        if (source_.table < 0) return;
        MapDocument& doc = host.document();
        if (uint32_t* m = doc.marksAt(from_.col, from_.row)) {
            *m &= ~kMarkMoveSource;
            doc.markDirty(from_.col, from_.row);
        }
        doc.tool.interactionBusy = 0;
        source_ = {};
        host.queueHex(from_);
        host.flush();
    }

    Chosen source_;
    HexPos from_{-1, -1};
};

class DeleteTool : public TroopToolBase {
public:
    using TroopToolBase::TroopToolBase;
    void press(ToolHost& host, const ToolPoint& p) override {
        if (!p.inMap) return;
        const Chosen c = pickTroop(host, p, ChooserMode::Recall, hooks());
        if (c.table >= 0) recallWithQuestion(host.document(), c.table, c.slot);
    }
};

}  // namespace

std::string troopLine(const MapDocument& doc, int table, int slot) {
    const TroopRecord* t = doc.troopAt(table, slot);
    if (!t) return {};
    char count[16];
    std::snprintf(count, sizeof count, "%2d", t->unitCount());
    return decodeCp932Lossy(t->name()) + " " + count;
}

std::vector<TroopChooserEntry> placementChoices(const MapDocument& doc, HexPos hex) {
    std::vector<TroopChooserEntry> out;
    const TroopBrush& b = doc.tool.troopBrush;
    int weapon = b.weaponId;
    if (b.fromList)
        if (const TroopRecord* t = doc.troopAt(b.faction, b.item)) weapon = t->weaponId();
    if (stowingRule(doc) && mayStowAt(doc, weapon, hex.col, hex.row))
        out.push_back({TroopChooserEntry::Stow, -1, -1, "ここに収納 " + buildingName(doc, hex)});
    const std::vector<TroopAtHex> troops = troopsAtHex(doc, hex.col, hex.row);
    bool heading = false;
    for (const TroopAtHex& t : troops) {
        if (t.stowed) continue;
        if (!heading) out.push_back({TroopChooserEntry::Heading, -1, -1, "ここに搭載"});
        heading = true;
        out.push_back({TroopChooserEntry::Troop, t.table, t.slot, troopLine(doc, t.table, t.slot)});
    }
    if (!out.empty() && mayStandAt(doc, b.faction, weapon, hex.col, hex.row))
        out.insert(out.begin(), {TroopChooserEntry::Place, -1, -1, "ここに配置"});
    return out;
}

std::vector<TroopChooserEntry> troopChoices(const MapDocument& doc, HexPos hex) {
    std::vector<TroopChooserEntry> out;
    bool heading = false;
    for (const TroopAtHex& t : troopsAtHex(doc, hex.col, hex.row)) {
        if (t.stowed && !heading) {
            out.push_back({TroopChooserEntry::Heading, -1, -1, buildingName(doc, hex)});
            heading = true;
        }
        out.push_back({TroopChooserEntry::Troop, t.table, t.slot, troopLine(doc, t.table, t.slot)});
    }
    return out;
}

std::vector<ToolMenuItem> troopMenu(const MapDocument& doc, int table, int slot) {
    std::vector<ToolMenuItem> menu;
    const TroopRecord* t = doc.troopAt(table, slot);
    if (!t || table < 0 || table >= kFactionCount) return menu;
    const int weapon = t->weaponId();
    menu.push_back({kTroopProperties, "プロパティ"});
    menu.push_back({kTroopDetails, "詳細"});
    menu.push_back({kTroopArmament, "武装交換", hasAlternativeArmaments(doc, weapon)});
    menu.push_back({kTroopTransform, "変形", transformTarget(doc, weapon) >= 0});

    // The places of the troop's division, each naming its troop, the troop's own one checked.
    ToolMenuItem affiliation{0, "所属変更"};
    const int d = slots::divisionOf(slot);
    auto place = [&](int s) {
        const TroopRecord& o = *doc.troopAt(table, s);
        return ToolMenuItem{kAffiliationItem + s,
                            o.inUse() ? troopLine(doc, table, s) : std::string("-空き-"), true,
                            s == slot};
    };
    if (d >= 0) {
        const FactionRecord& f = doc.factions[size_t(table)];
        for (int r = 0; r < slots::kRegiments; ++r) {
            if (r >= f.divisionLimit(d) && slots::regimentOf(slot) != r) continue;
            ToolMenuItem regiment{0, "第" + std::to_string(r + 1) + "連隊"};
            for (int u = 0; u < slots::kUnitsPerRegiment; ++u)
                regiment.submenu.push_back(place(slots::regimentSlot(d, r, u)));
            affiliation.submenu.push_back(regiment);
        }
        ToolMenuItem direct{0, "師団直属"};
        const int limit = f.divisionLimit(slots::kDivisions + d);
        for (int p = 0; p < slots::kDirectUnits; ++p)
            if (p < limit || slots::directSlot(d, p) == slot)
                direct.submenu.push_back(place(slots::directSlot(d, p)));
        if (!direct.submenu.empty()) affiliation.submenu.push_back(direct);
    }
    affiliation.enabled = !affiliation.submenu.empty();
    if (!affiliation.enabled) affiliation.submenu.push_back({0, ""});
    menu.push_back(affiliation);

    const int k = regimentIndexOfSlot(slot);
    menu.push_back({kTroopRegiment, regimentOffersGather(doc, table, k) ? "連隊集結" : "連隊展開",
                    k >= 0 && !regimentMembers(doc, table, k).empty()});
    menu.push_back({kTroopRecall, "回収"});
    return menu;
}

void installTroopTools(ToolRouter& router, TroopToolHooks hooks) {
    auto shared = std::make_shared<const TroopToolHooks>(std::move(hooks));
    for (int mode : {kEditTroops, kEditReinforcements}) {
        router.add(mode, 0, std::make_shared<PlaceTool>(shared));
        router.add(mode, 1, std::make_shared<MoveTool>(shared));
        router.add(mode, 2, std::make_shared<DeleteTool>(shared));
    }
}

}  // namespace kv
