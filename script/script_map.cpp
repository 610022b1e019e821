// The `map` object: reading the document and editing it through the document operations the
// mouse tools, dialogs and whole-map commands use.
#include <QJSEngine>

#include <cmath>

#include "document/bulk_edits.h"
#include "document/label_edit.h"
#include "document/map_check.h"
#include "document/map_document.h"
#include "document/map_file.h"
#include "document/troop_edit.h"
#include "framework/cp932.h"
#include "framework/errors.h"
#include "script/script_api.h"

namespace kv {

namespace {

QString text(std::string_view cp932) {
    return QString::fromStdString(decodeCp932Lossy(cp932));
}

QString utf8(const char* s) {
    return QString::fromUtf8(s);
}

// An option of an options object: undefined when the object or the option is absent.
QJSValue option(const QJSValue& options, const char* name) {
    return options.isObject() ? options.property(QString::fromLatin1(name)) : QJSValue();
}

}  // namespace

// --- Run state ---------------------------------------------------------------------------

EditChange& ScriptState::change() {
    if (!op) op.emplace(doc, EditOperation::History::NewStep, stepName);
    return op->change();
}

bool ScriptState::fail(const QString& message, int type) {
    engine.throwError(type == 0 ? QJSValue::GenericError : QJSValue::ErrorType(type), message);
    return false;
}

bool ScriptState::integer(const QJSValue& v, const char* name, int& out) {
    const double d = v.isNumber() ? v.toNumber() : NAN;
    if (!std::isfinite(d) || d != std::floor(d) || std::fabs(d) > 1e9)
        return fail(QStringLiteral("%1 must be an integer, not %2")
                        .arg(QLatin1String(name), v.isUndefined() ? "undefined" : v.toString()),
                    QJSValue::TypeError);
    out = static_cast<int>(d);
    return true;
}

bool ScriptState::inRange(const QJSValue& v, const char* name, int lo, int hi, int& out) {
    if (!integer(v, name, out)) return false;
    if (out >= lo && out <= hi) return true;
    return fail(QStringLiteral("%1 must be %2..%3, not %4")
                    .arg(QLatin1String(name))
                    .arg(lo)
                    .arg(hi)
                    .arg(out),
                QJSValue::RangeError);
}

bool ScriptState::hex(const QJSValue& col, const QJSValue& row, HexPos& out) {
    if (!integer(col, "col", out.col) || !integer(row, "row", out.row)) return false;
    if (doc.contains(out.col, out.row)) return true;
    return fail(QStringLiteral("hex %1,%2 lies outside the %3 x %4 map")
                    .arg(out.col)
                    .arg(out.row)
                    .arg(doc.width())
                    .arg(doc.height()),
                QJSValue::RangeError);
}

void ScriptState::note(const StrokeResult& r) {
    EditChange& c = change();
    if (r.labelDemoted) c.labels = true;
    if (r.buildingsChanged) c.buildings = true;
}

// --- Reading -----------------------------------------------------------------------------

int MapApi::width() const {
    return s_.doc.width();
}

int MapApi::height() const {
    return s_.doc.height();
}

QString MapApi::name() const {
    return text(s_.doc.mapHeader.mapName());
}

int MapApi::turnLimit() const {
    return s_.doc.mapHeader.turnLimit();
}

QJSValue MapApi::factions() const {
    QJSValue list = s_.engine.newArray(kFactionCount);
    for (int i = 0; i < kFactionCount; ++i) {
        const FactionRecord& f = s_.doc.factions[size_t(i)];
        QJSValue o = s_.engine.newObject();
        o.setProperty("index", i);
        o.setProperty("name", text(f.name()));
        o.setProperty("takesPart", f.takesPart());
        o.setProperty("participation", f.participation());
        o.setProperty("behaviour", f.behaviour());
        o.setProperty("alliances", f.alliances());
        o.setProperty("productionType", f.productionType());
        o.setProperty("funds", f.funds());
        o.setProperty("fundsLimit", f.fundsLimit());
        o.setProperty("troopCount", troopsInUse(s_.doc, i));
        list.setProperty(quint32(i), o);
    }
    return list;
}

QJSValue MapApi::cell(const QJSValue& col, const QJSValue& row) {
    HexPos h;
    if (!s_.hex(col, row, h)) return {};
    const HexCell& c = *s_.doc.cellAt(h.col, h.row);
    QJSValue o = s_.engine.newObject();
    o.setProperty("terrain", c.terrain);
    o.setProperty("picture", c.picture);
    o.setProperty("owner", c.owner);
    o.setProperty("destroyed", c.destroyed);
    o.setProperty("territory", c.territory);
    o.setProperty("roads", c.roadLinks & HexCell::kLinkMask);
    o.setProperty("rivers", c.riverLinks());
    o.setProperty("riverVariant", c.riverVariant());
    o.setProperty("supplyLines", c.supplyLinks & HexCell::kLinkMask);
    o.setProperty("tempBridge", c.tempBridge);
    QJSValue mine = s_.engine.newObject();
    mine.setProperty("kind", c.mineKind);
    mine.setProperty("count", c.mineCount);
    mine.setProperty("seenBy", c.mineSeenBy);
    o.setProperty("mine", mine);
    QJSValue label(QJSValue::NullValue);
    if (const TerrainLabel* l = s_.doc.labelAt(h.col, h.row)) {
        label = s_.engine.newObject();
        label.setProperty("text", text(l->textString()));
        label.setProperty("victory", l->kind == MapDocument::kLabelVictory);
        label.setProperty("progress", l->value == 1);
    }
    o.setProperty("label", label);
    return o;
}

QJSValue MapApi::troopObject(int table, int slot) const {
    const TroopRecord& t = *s_.doc.troopAt(table, slot);
    QJSValue o = s_.engine.newObject();
    o.setProperty("faction", table);
    o.setProperty("slot", slot);
    o.setProperty("weaponId", t.weaponId());
    o.setProperty("name", text(t.name()));
    o.setProperty("col", t.col());
    o.setProperty("row", t.row());
    o.setProperty("turn", t.appearanceTurn());
    o.setProperty("unitCount", t.unitCount());
    o.setProperty("experience", t.experienceTimes10() / 10);
    o.setProperty("placed", !t.hasFlag(kTroopUnplaced));
    o.setProperty("stowed", t.hasFlag(kTroopStowed));
    o.setProperty("loaded", t.hasFlag(kTroopLoaded));
    return o;
}

QJSValue MapApi::troops(const QJSValue& faction) {
    int f = 0;
    if (!s_.inRange(faction, "faction", 0, kFactionCount - 1, f)) return {};
    QJSValue list = s_.engine.newArray();
    quint32 n = 0;
    for (int slot = 0; slot < s_.doc.troops.usedSlots(f); ++slot)
        if (s_.doc.troopAt(f, slot)->inUse()) list.setProperty(n++, troopObject(f, slot));
    return list;
}

QJSValue MapApi::labels() {
    QJSValue list = s_.engine.newArray();
    quint32 n = 0;
    for (int i = 0; i < s_.doc.labelCount(); ++i) {
        const TerrainLabel& l = s_.doc.mapGrid.labels[size_t(i)];
        if (!l.inUse()) continue;
        QJSValue o = s_.engine.newObject();
        o.setProperty("text", text(l.textString()));
        o.setProperty("col", l.col);
        o.setProperty("row", l.row);
        o.setProperty("victory", l.kind == MapDocument::kLabelVictory);
        o.setProperty("progress", l.value == 1);
        list.setProperty(n++, o);
    }
    return list;
}

// --- Terrain strokes -----------------------------------------------------------------------

bool MapApi::strokeReady() {
    if (s_.brush.borderMode || s_.brush.terrain.valid) return true;
    return s_.fail(
        utf8("no brush chosen: call brush.terrain(id), brush.supplyLine() or "
             "brush.border(territory, kind) first"));
}

// The tools draw with a road, river or supply-line brush as the line tool, whatever the draw
// kind; a click links nothing.
bool MapApi::lineBrush() const {
    return !s_.brush.borderMode && s_.brush.terrain.isLineBrush(s_.doc.gameDatabase);
}

void MapApi::click(const QJSValue& col, const QJSValue& row, const StrokeBrush& brush,
                   ClickStroke stroke) {
    HexPos h;
    if (!s_.hex(col, row, h) || !strokeReady()) return;
    s_.change();
    s_.stroke.painted.clear();
    if (lineBrush())
        lineStroke(s_.doc, brush, h, h, s_.stroke);
    else
        stroke(s_.doc, brush, h, s_.stroke);
    s_.note(s_.stroke);
}

void MapApi::pen(const QJSValue& col, const QJSValue& row) {
    click(col, row, s_.brush, penStroke);
}

void MapApi::megaPen(const QJSValue& col, const QJSValue& row) {
    StrokeBrush mega = s_.brush;
    mega.megaPen = true;
    click(col, row, mega, penStroke);
}

void MapApi::line(const QJSValue& c0, const QJSValue& r0, const QJSValue& c1, const QJSValue& r1) {
    HexPos a, b;
    if (!s_.hex(c0, r0, a) || !s_.hex(c1, r1, b) || !strokeReady()) return;
    s_.change();
    s_.stroke.painted.clear();
    lineStroke(s_.doc, s_.brush, a, b, s_.stroke);
    s_.note(s_.stroke);
}

void MapApi::box(const QJSValue& c0, const QJSValue& r0, const QJSValue& c1, const QJSValue& r1) {
    HexPos a, b;
    if (!s_.hex(c0, r0, a) || !s_.hex(c1, r1, b) || !strokeReady()) return;
    s_.change();
    s_.stroke.painted.clear();
    // A line brush draws a box as a line, as the box tool does.
    if (lineBrush())
        lineStroke(s_.doc, s_.brush, a, b, s_.stroke);
    else
        boxStroke(s_.doc, s_.brush, a, b, s_.stroke);
    s_.note(s_.stroke);
}

void MapApi::fill(const QJSValue& col, const QJSValue& row) {
    click(col, row, s_.brush, floodStroke);
}

bool MapApi::deleteLines(const QJSValue& col, const QJSValue& row) {
    HexPos h;
    if (!s_.hex(col, row, h)) return false;
    s_.change();
    return deleteLinksStroke(s_.doc, h, s_.brush.megaPen);
}

void MapApi::copy(const QJSValue& c0, const QJSValue& r0, const QJSValue& c1, const QJSValue& r1) {
    HexPos a, b;
    if (!s_.hex(c0, r0, a) || !s_.hex(c1, r1, b)) return;
    s_.copied = HexRect::spanning(a, b);
}

int MapApi::paste(const QJSValue& col, const QJSValue& row) {
    HexPos h;
    if (!s_.hex(col, row, h)) return 0;
    if (!s_.copied) return s_.fail(utf8("nothing copied: call map.copy(c0, r0, c1, r1) first")), 0;
    s_.change().buildings = true;
    return pasteStroke(s_.doc, *s_.copied, h, s_.brush.megaPen);
}

void MapApi::setTerritory(const QJSValue& col, const QJSValue& row, const QJSValue& territory,
                          const QJSValue& kind) {
    HexPos h;
    int t = 0, k = 0;
    if (!s_.hex(col, row, h) || !s_.inRange(territory, "territory", 0, 7, t)) return;
    if (!kind.isUndefined() && !s_.inRange(kind, "kind", 0, 15, k)) return;
    s_.change();
    s_.doc.setBorderline(h.col, h.row, BorderBrush{t, k});
}

bool MapApi::setMine(const QJSValue& col, const QJSValue& row, const QJSValue& kind,
                     const QJSValue& count, const QJSValue& seenBy) {
    HexPos h;
    int k = 0, n = 0, seen = 0;
    if (!s_.hex(col, row, h) || !s_.inRange(kind, "kind", 0, 2, k)) return false;
    if (!count.isUndefined() && !s_.inRange(count, "count", 0, 255, n)) return false;
    if (!seenBy.isUndefined() && !s_.inRange(seenBy, "seenBy", 0, 63, seen)) return false;
    s_.change();
    return s_.doc.setMine(h.col, h.row, MineBrush{uint8_t(k), uint8_t(n), uint8_t(seen)});
}

// --- Labels --------------------------------------------------------------------------------

void MapApi::setLabel(const QJSValue& col, const QJSValue& row, const QJSValue& text,
                      const QJSValue& options) {
    HexPos h;
    if (!s_.hex(col, row, h)) return;
    const std::optional<std::string> cp932 = encodeCp932(text.toString().toStdString());
    if (!cp932) {
        s_.fail(utf8("the label text has characters Shift-JIS cannot hold"), QJSValue::RangeError);
        return;
    }
    s_.change();
    const LabelEdit r = applyLabelEdit(s_.doc, h, *cp932, option(options, "victory").toBool(),
                                       option(options, "progress").toBool());
    if (r == LabelEdit::Refused) {
        s_.fail(utf8(kLabelLimitText));
        return;
    }
    redrawRow(h.row);
}

// A label's text runs over the hexes beside it: the row is drawn again, as the label tool does.
void MapApi::redrawRow(int row) {
    for (int col = 0; col < s_.doc.width(); ++col) s_.doc.markDirty(col, row);
}

bool MapApi::deleteLabel(const QJSValue& col, const QJSValue& row) {
    HexPos h;
    if (!s_.hex(col, row, h)) return false;
    s_.change();
    if (!deleteLabelAt(s_.doc, h)) return false;
    redrawRow(h.row);
    return true;
}

// --- Troops --------------------------------------------------------------------------------

namespace {

// Puts the placement's brush, edit mode and turn into the tool state for the length of one
// operation, and gives the editor's back afterwards.
class TroopToolScope {
public:
    TroopToolScope(MapDocument& doc, const TroopBrush& brush, int turn)
        : doc_(doc),
          brush_(doc.tool.troopBrush),
          mode_(doc.tool.editMode),
          turn_(doc.tool.reinforcementTurn) {
        doc.tool.troopBrush = brush;
        if (turn > 1) {
            doc.tool.reinforcementTurn = turn;
            doc.setEditMode(kEditReinforcements);
        } else if (mode_ == kEditReinforcements) {
            doc.setEditMode(kEditTroops);
        }
    }
    ~TroopToolScope() {
        doc_.tool.troopBrush = brush_;
        doc_.tool.reinforcementTurn = turn_;
        if (doc_.tool.editMode != mode_)
            doc_.setEditMode(mode_);
        else if (mode_ == kEditReinforcements)
            doc_.rebuildReinforcementIndex();
    }
    TroopToolScope(const TroopToolScope&) = delete;
    TroopToolScope& operator=(const TroopToolScope&) = delete;

private:
    MapDocument& doc_;
    TroopBrush brush_;
    int mode_, turn_;
};

}  // namespace

QJSValue MapApi::placeTroop(const QJSValue& faction, const QJSValue& weaponId, const QJSValue& col,
                            const QJSValue& row, const QJSValue& options) {
    int f = 0, w = 0, units = 10, experience = 0, turn = 1;
    HexPos h;
    if (!s_.inRange(faction, "faction", 0, kFactionCount - 1, f) ||
        !s_.integer(weaponId, "weaponId", w) || !s_.hex(col, row, h))
        return {};
    const QJSValue u = option(options, "unitCount"), e = option(options, "experience"),
                   t = option(options, "turn");
    if (!u.isUndefined() && !s_.inRange(u, "unitCount", 1, 10, units)) return {};
    if (!e.isUndefined() && !s_.inRange(e, "experience", 0, 250, experience)) return {};
    if (!t.isUndefined() && !s_.inRange(t, "turn", 1, MapHeader::kMaxTurnLimit, turn)) return {};
    if (!s_.doc.isWeaponInProduct(w)) {
        s_.fail(QStringLiteral("weapon %1 is no weapon of this game data").arg(w),
                QJSValue::RangeError);
        return {};
    }
    TroopBrush brush;
    brush.valid = 1;
    brush.faction = f;
    brush.weaponId = w;
    brush.unitCount = units;
    brush.experience = experience;
    s_.change();
    int slot = 0;
    {
        TroopToolScope scope(s_.doc, brush, turn);
        slot = kv::placeTroop(s_.doc, h.col, h.row, option(options, "stow").toBool());
    }
    if (slot < 0) {
        s_.fail(utf8(troopRefusalText(slot)));
        return {};
    }
    return troopObject(f, slot);
}

QJSValue MapApi::moveTroop(const QJSValue& faction, const QJSValue& slot, const QJSValue& col,
                           const QJSValue& row, const QJSValue& options) {
    int f = 0, s = 0;
    HexPos h;
    if (!s_.inRange(faction, "faction", 0, kFactionCount - 1, f) ||
        !s_.inRange(slot, "slot", 0, TroopTable::kSlots - 1, s) || !s_.hex(col, row, h))
        return {};
    s_.change();
    const int r = kv::moveTroop(s_.doc, f, s, h.col, h.row, option(options, "stow").toBool());
    if (r < 0) {
        s_.fail(utf8(troopRefusalText(r)));
        return {};
    }
    return troopObject(f, s);
}

void MapApi::recallTroop(const QJSValue& faction, const QJSValue& slot) {
    int f = 0, s = 0;
    if (!s_.inRange(faction, "faction", 0, kFactionCount - 1, f) ||
        !s_.inRange(slot, "slot", 0, TroopTable::kSlots - 1, s))
        return;
    s_.change();
    if (!kv::recallTroop(s_.doc, f, s))
        s_.fail(QStringLiteral("faction %1 has no placed troop in slot %2").arg(f).arg(s),
                QJSValue::RangeError);
}

// --- Whole-map edits -------------------------------------------------------------------------

QJSValue MapApi::resize(const QJSValue& width, const QJSValue& height, const QJSValue& anchor) {
    int w = 0, h = 0, a = 0;
    if (!s_.integer(width, "width", w) || !s_.integer(height, "height", h)) return {};
    const std::string_view refusal = mapSizeRefusal(w, h);
    if (!refusal.empty()) {
        s_.fail(QString::fromUtf8(refusal.data(), qsizetype(refusal.size())), QJSValue::RangeError);
        return {};
    }
    if (!anchor.isUndefined() && !s_.inRange(anchor, "anchor", 0, kAnchorCount - 1, a)) return {};
    s_.change();
    const MapSizeChange c = changeMapSize(s_.doc, w, h, a);
    QJSValue o = s_.engine.newObject();
    o.setProperty("colOffset", c.colOffset);
    o.setProperty("rowOffset", c.rowOffset);
    o.setProperty("labelsDropped", c.labelsDropped);
    o.setProperty("troopsDeleted", c.troopsDeleted);
    return o;
}

void MapApi::exchangeFactions(const QJSValue& a, const QJSValue& b) {
    int x = 0, y = 0;
    if (!s_.inRange(a, "a", 0, kFactionCount - 1, x) ||
        !s_.inRange(b, "b", 0, kFactionCount - 1, y))
        return;
    if (x == y) {
        s_.fail(utf8("exchangeFactions needs two different factions"), QJSValue::RangeError);
        return;
    }
    s_.change();
    kv::exchangeFactions(s_.doc, x, y);
}

int MapApi::packTroops() {
    s_.change();
    return packTroopNumbers(s_.doc);
}

QJSValue MapApi::check() {
    const std::vector<MapProblem> problems = checkMap(s_.doc);
    QJSValue list = s_.engine.newArray(quint32(problems.size()));
    for (size_t i = 0; i < problems.size(); ++i) {
        const MapProblem& p = problems[i];
        QJSValue o = s_.engine.newObject();
        o.setProperty("code", p.code);
        o.setProperty("text", QString::fromStdString(p.text));
        o.setProperty("col", p.col);
        o.setProperty("row", p.row);
        list.setProperty(quint32(i), o);
    }
    return list;
}

void MapApi::save(const QJSValue& path, const QJSValue& kind) {
    const std::string file = path.toString().toStdString();
    const QString k = kind.isUndefined() ? QStringLiteral("scenario") : kind.toString();
    if (!path.isString() || file.empty()) {
        s_.fail(utf8("save needs the path of the file to write"), QJSValue::TypeError);
        return;
    }
    MapFileKind fileKind = MapFileKind::Scenario;
    if (k == QLatin1String("intermediate")) {
        fileKind = MapFileKind::Intermediate;
    } else if (k == QLatin1String("normal")) {
        fileKind = MapFileKind::Normal;
    } else if (k != QLatin1String("scenario")) {
        s_.fail(
            QStringLiteral("kind must be \"intermediate\", \"normal\" or \"scenario\", not \"%1\"")
                .arg(k),
            QJSValue::RangeError);
        return;
    }
    // The document's own path stays: saving a copy does not make it the map edited.
    const std::string keepPath = s_.doc.filePath;
    try {
        if (fileKind != MapFileKind::Intermediate) s_.doc.prepareForSave();
        writeMapFile(s_.doc, file, fileKind);
    } catch (const swCError& e) {
        s_.doc.filePath = keepPath;
        s_.fail(QStringLiteral("%1: %2").arg(QString::fromStdString(file),
                                             QString::fromStdString(e.text())));
        return;
    }
    s_.doc.filePath = keepPath;
}

}  // namespace kv
