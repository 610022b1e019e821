// The script run: one engine per run with the map, brush, db, print, open, newMap and args;
// the edit operation that makes the run one undo step; the watchdog of the time limit.
#include "script/script_runner.h"

#include <QJSEngine>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>

#include "document/map_document.h"
#include "document/map_file.h"
#include "framework/cp932.h"
#include "script/script_api.h"

namespace kv {

namespace {

// print() joins its arguments as console.log does: objects as JSON, the rest as strings;
// db gets its lookups by id and name.
constexpr const char* kPrelude = R"js(
(function (global, host) {
    global.print = function () {
        var parts = [];
        for (var i = 0; i < arguments.length; ++i) {
            var v = arguments[i];
            parts.push(typeof v === "object" && v !== null ? JSON.stringify(v) : String(v));
        }
        host.printLine(parts.join(" "));
    };
    global.open = function (path) { host.open(path); };
    global.newMap = function () { host.newMap(); };
    global.mapFiles = function (folder) { return host.mapFiles(folder); };
    var db = global.db, byId = {}, byName = {};
    db.weapons.forEach(function (w) { byId[w.id] = w; if (!(w.name in byName)) byName[w.name] = w; });
    db.weapon = function (id) { return byId.hasOwnProperty(id) ? byId[id] : null; };
    db.weaponByName = function (name) { return byName.hasOwnProperty(name) ? byName[name] : null; };
    db.terrain = function (id) { return db.terrains[id] === undefined ? null : db.terrains[id]; };
    db.terrainByName = function (name) {
        for (var i = 0; i < db.terrains.length; ++i)
            if (db.terrains[i].name === name) return db.terrains[i];
        return null;
    };
})
)js";

// Interrupts the engine when the time limit runs out before the run ends.
class Watchdog {
public:
    Watchdog(QJSEngine& engine, double seconds) : engine_(engine) {
        if (seconds <= 0) return;
        thread_ = std::thread([this, seconds] {
            std::unique_lock lock(mutex_);
            const auto limit = std::chrono::duration<double>(seconds);
            if (!wake_.wait_for(lock, limit, [this] { return done_; })) {
                fired_ = true;
                engine_.setInterrupted(true);
            }
        });
    }
    ~Watchdog() {
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        wake_.notify_all();
        if (thread_.joinable()) thread_.join();
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;
    bool fired() {
        std::lock_guard lock(mutex_);
        return fired_;
    }

private:
    QJSEngine& engine_;
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool done_ = false, fired_ = false;
};

QString text(std::string_view cp932) {
    return QString::fromStdString(decodeCp932Lossy(cp932));
}

QJSValue terrainObjects(QJSEngine& engine, const GameDatabase& db) {
    const std::vector<TerrainType>& types = db.terrainTypes();
    QJSValue list = engine.newArray(quint32(types.size()));
    for (size_t i = 0; i < types.size(); ++i) {
        const TerrainType& t = types[i];
        QJSValue o = engine.newObject();
        o.setProperty("id", int(i));
        o.setProperty("name", text(fieldText(t.name, sizeof t.name)));
        o.setProperty("category", int(t.category));
        o.setProperty("defaultPicture", t.defaultPicture);
        o.setProperty("flags", t.flags);
        o.setProperty("capacity", t.capacity);
        o.setProperty("income", t.income);
        list.setProperty(quint32(i), o);
    }
    return list;
}

QJSValue weaponObjects(QJSEngine& engine, const GameDatabase& db) {
    const std::vector<WeaponRecord>& weapons = db.weapons();
    QJSValue list = engine.newArray(quint32(weapons.size()));
    for (size_t i = 0; i < weapons.size(); ++i) {
        const WeaponRecord& w = weapons[i];
        QJSValue o = engine.newObject();
        o.setProperty("id", w.id());
        o.setProperty("name", text(w.name()));
        o.setProperty("weaponType", w.weaponType());
        o.setProperty("movementType", w.movementType());
        o.setProperty("layer", w.layer());
        o.setProperty("selectable", bool(w.selectable()));
        o.setProperty("memberCount", w.memberCount());
        o.setProperty("memberStrength", w.memberStrength());
        QJSValue armaments = engine.newArray(5);
        for (int s = 0; s < 5; ++s) armaments.setProperty(quint32(s), w.slotArmament(s));
        o.setProperty("armaments", armaments);
        list.setProperty(quint32(i), o);
    }
    return list;
}

QJSValue idList(QJSEngine& engine, const ProductType& p, ProductType::List l) {
    QJSValue list = engine.newArray();
    quint32 n = 0;
    for (int id = 0; id < ProductType::kMaxId; ++id)
        if (p.has(l, id)) list.setProperty(n++, id);
    return list;
}

QJSValue productObject(QJSEngine& engine, int slot, const ProductType& p) {
    QJSValue o = engine.newObject();
    o.setProperty("slot", slot);
    o.setProperty("name", text(p.name()));
    o.setProperty("airWeapons", idList(engine, p, ProductType::List(0)));
    o.setProperty("landWeapons", idList(engine, p, ProductType::List(1)));
    o.setProperty("seaWeapons", idList(engine, p, ProductType::List(2)));
    return o;
}

}  // namespace

QJSValue databaseObject(QJSEngine& engine, const MapDocument& doc) {
    const GameDatabase& db = doc.gameDatabase;
    QJSValue o = engine.newObject();
    o.setProperty("terrains", terrainObjects(engine, db));
    o.setProperty("weapons", weaponObjects(engine, db));
    QJSValue armaments = engine.newArray(quint32(db.armaments().size()));
    for (size_t i = 0; i < db.armaments().size(); ++i) {
        const ArmamentRecord& a = db.armaments()[i];
        QJSValue r = engine.newObject();
        r.setProperty("number", int(i + 1));
        r.setProperty("name", text(a.nameText()));
        r.setProperty("shortName", text(a.shortNameText()));
        r.setProperty("power", a.power);
        r.setProperty("kind", a.kind);
        armaments.setProperty(quint32(i), r);
    }
    o.setProperty("armaments", armaments);
    QJSValue products = engine.newArray();
    quint32 n = 0;
    for (size_t i = 0; i < db.productTypes().size(); ++i)
        if (db.productTypes()[i].isUsed())
            products.setProperty(n++, productObject(engine, int(i), db.productTypes()[i]));
    for (size_t i = 0; i < db.userProductTypes().size(); ++i)
        if (db.userProductTypes()[i].isUsed())
            products.setProperty(n++,
                                 productObject(engine, int(150 + i), db.userProductTypes()[i]));
    o.setProperty("productTypes", products);
    QJSValue rules = engine.newArray(quint32(db.ruleSets().size()));
    for (size_t i = 0; i < db.ruleSets().size(); ++i) {
        const RuleSet& r = db.ruleSets()[i];
        QJSValue values = engine.newArray(quint32(kRuleCount));
        for (size_t k = 0; k < kRuleCount; ++k) values.setProperty(quint32(k), r.value(k));
        QJSValue rule = engine.newObject();
        rule.setProperty("ruleId", r.ruleId);
        rule.setProperty("name", text(r.name));
        rule.setProperty("values", values);
        rules.setProperty(quint32(i), rule);
    }
    o.setProperty("ruleSets", rules);
    return o;
}

// --- brush ---------------------------------------------------------------------------------

void BrushApi::terrain(const QJSValue& id, const QJSValue& options) {
    const GameDatabase& db = s_.doc.gameDatabase;
    int t = 0, owner = 0, picture = 0, destroyed = 0;
    if (!s_.inRange(id, "terrain id", 0, int(db.terrainTypes().size()) - 1, t)) return;
    const auto opt = [&](const char* name) {
        return options.isObject() ? options.property(QString::fromLatin1(name)) : QJSValue();
    };
    picture = db.terrain(size_t(t)).defaultPicture;
    if (!opt("owner").isUndefined() && !s_.inRange(opt("owner"), "owner", 0, 7, owner)) return;
    if (!opt("picture").isUndefined() && !s_.inRange(opt("picture"), "picture", 0, 65535, picture))
        return;
    if (!opt("destroyed").isUndefined() &&
        !s_.inRange(opt("destroyed"), "destroyed", 0, 1, destroyed))
        return;
    TerrainBrush& b = s_.brush.terrain;
    b = TerrainBrush{};
    b.valid = 1;
    b.terrainId = uint16_t(t);
    b.owner = uint16_t(owner);
    b.picture = uint16_t(picture);
    b.destroyed = uint8_t(destroyed);
    s_.brush.borderMode = false;
}

void BrushApi::supplyLine() {
    TerrainBrush& b = s_.brush.terrain;
    b = TerrainBrush{};
    b.valid = 1;
    b.supplyLine = 1;
    s_.brush.borderMode = false;
}

void BrushApi::pen(const QJSValue& kind) {
    const QString k = kind.toString();
    if (k != QLatin1String("single") && k != QLatin1String("mega")) {
        s_.fail(QStringLiteral("pen kind must be \"single\" or \"mega\", not \"%1\"").arg(k),
                QJSValue::RangeError);
        return;
    }
    s_.brush.megaPen = k == QLatin1String("mega");
}

void BrushApi::border(const QJSValue& territory, const QJSValue& kind) {
    int t = 0, k = 0;
    if (!s_.inRange(territory, "territory", 0, 7, t)) return;
    if (!kind.isUndefined() && !s_.inRange(kind, "kind", 0, 15, k)) return;
    s_.brush.border = BorderBrush{t, k};
    s_.brush.borderMode = true;
}

// --- print, open, newMap --------------------------------------------------------------------

void HostApi::printLine(const QString& line) {
    print_(line.toStdString());
}

void HostApi::open(const QJSValue& path) {
    const std::string file = path.toString().toStdString();
    if (!path.isString() || file.empty()) {
        s_.fail(QStringLiteral("open needs the path of a map file"), QJSValue::TypeError);
        return;
    }
    s_.closeOperation();
    s_.copied.reset();
    s_.mapReplaced = true;
    if (!loadMapFile(s_.doc, file)) {
        s_.fail(QStringLiteral("%1: cannot be read as a map").arg(path.toString()));
        return;
    }
    s_.doc.filePath = file;
}

void HostApi::newMap() {
    s_.closeOperation();
    s_.copied.reset();
    s_.mapReplaced = true;
    s_.doc.resetToNewMap();
}

QJSValue HostApi::mapFiles(const QJSValue& folder) {
    namespace fs = std::filesystem;
    std::vector<std::string> files;
    std::error_code ec;
    for (fs::directory_iterator it(folder.toString().toStdString(), ec), end; !ec && it != end;
         it.increment(ec)) {
        std::string ext = it->path().extension().string();
        for (char& c : ext) c = char(std::tolower(static_cast<unsigned char>(c)));
        if ((ext == ".kvn" || ext == ".kvs" || ext == ".kvt") && it->is_regular_file(ec))
            files.push_back(it->path().string());
    }
    if (ec) {
        s_.fail(QStringLiteral("%1: cannot be listed").arg(folder.toString()));
        return {};
    }
    std::sort(files.begin(), files.end());
    QJSValue list = s_.engine.newArray(quint32(files.size()));
    for (size_t i = 0; i < files.size(); ++i)
        list.setProperty(quint32(i), QString::fromStdString(files[i]));
    return list;
}

// --- The run ---------------------------------------------------------------------------------

struct ScriptRunner::Impl {
    explicit Impl(MapDocument& d) : doc(d) {}
    MapDocument& doc;
    std::function<void(const std::string&)> print = [](const std::string& line) {
        std::fwrite(line.data(), 1, line.size(), stdout);
        std::fputc('\n', stdout);
    };
    std::map<std::string, std::string> args;
    double timeout = kDefaultScriptTimeout;
    std::string stepName = "スクリプト実行";
};

ScriptRunner::ScriptRunner(MapDocument& doc) : impl_(std::make_unique<Impl>(doc)) {}

ScriptRunner::~ScriptRunner() = default;

void ScriptRunner::setPrint(std::function<void(const std::string&)> print) {
    impl_->print = std::move(print);
}

void ScriptRunner::setArguments(std::map<std::string, std::string> args) {
    impl_->args = std::move(args);
}

void ScriptRunner::setTimeout(double seconds) {
    impl_->timeout = seconds;
}

void ScriptRunner::setStepName(std::string name) {
    impl_->stepName = std::move(name);
}

namespace {

// "FILE:LINE: message"; the line of an Error object, else of the innermost frame of the trace
// ("function:line:column:file").
std::string errorText(const QJSValue& error, const QStringList& trace,
                      const std::string& fileName) {
    int line = error.isError() ? error.property("lineNumber").toInt() : 0;
    if (line <= 0 && !trace.isEmpty()) line = trace.front().section(QLatin1Char(':'), 1, 1).toInt();
    QString text = QString::fromStdString(fileName);
    if (line > 0) text += QStringLiteral(":%1").arg(line);
    text += QStringLiteral(": ") + error.toString();
    return text.toStdString();
}

}  // namespace

ScriptResult ScriptRunner::run(const std::string& source, const std::string& fileName) {
    QJSEngine engine;
    engine.installExtensions(QJSEngine::ConsoleExtension);
    ScriptState state(impl_->doc, engine);
    state.stepName = impl_->stepName;
    MapApi map(state);
    BrushApi brush(state);
    HostApi host(state, impl_->print);
    for (QObject* o :
         {static_cast<QObject*>(&map), static_cast<QObject*>(&brush), static_cast<QObject*>(&host)})
        QJSEngine::setObjectOwnership(o, QJSEngine::CppOwnership);
    QJSValue global = engine.globalObject();
    global.setProperty("map", engine.newQObject(&map));
    global.setProperty("brush", engine.newQObject(&brush));
    global.setProperty("db", databaseObject(engine, impl_->doc));
    QJSValue args = engine.newObject();
    for (const auto& [k, v] : impl_->args)
        args.setProperty(QString::fromStdString(k), QString::fromStdString(v));
    global.setProperty("args", args);
    engine.evaluate(QString::fromLatin1(kPrelude)).call({global, engine.newQObject(&host)});

    ScriptResult result;
    QJSValue value;
    QStringList trace;  // not empty when the script threw
    bool interrupted = false;
    {
        Watchdog watchdog(engine, impl_->timeout);
        value = engine.evaluate(QString::fromStdString(source), QString::fromStdString(fileName), 1,
                                &trace);
        interrupted = watchdog.fired();
    }
    engine.setInterrupted(false);
    state.closeOperation();
    result.mapReplaced = state.mapReplaced;
    if (interrupted) {
        result.ok = false;
        result.interrupted = true;
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%g", impl_->timeout);
        result.error = fileName + ": interrupted after " + seconds + " s (the time limit)";
    } else if (value.isError() || !trace.isEmpty()) {
        result.ok = false;
        result.error = errorText(value, trace, fileName);
    }
    return result;
}

ScriptResult ScriptRunner::runFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream source;
    if (in) source << in.rdbuf();
    if (!in || in.bad()) {
        ScriptResult r;
        r.ok = false;
        r.error = path + ": cannot be read";
        return r;
    }
    return run(source.str(), path);
}

}  // namespace kv
