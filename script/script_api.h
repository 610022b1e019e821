// The objects a script sees: `map` (the document, its reading and its editing operations) and
// `brush` (what the terrain strokes put down), over one shared run state.
#pragma once

#include <QJSValue>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "document/edit_operation.h"
#include "document/hex_geometry.h"
#include "document/terrain_strokes.h"

class QJSEngine;

namespace kv {

class MapDocument;
struct StrokeResult;

// What the objects of one run share: the document, the engine that reports their errors, the
// brush, the copied area and the edit operation that makes the run one undo step.
struct ScriptState {
    ScriptState(MapDocument& d, QJSEngine& e) : doc(d), engine(e) {}
    MapDocument& doc;
    QJSEngine& engine;
    StrokeBrush brush;
    std::optional<HexRect> copied;
    std::optional<EditOperation> op;
    std::string stepName = "スクリプト実行";
    bool mapReplaced = false;
    StrokeResult stroke;  // reused by every stroke

    // The run's operation, opened at the first edit.
    EditChange& change();
    // Throws a JavaScript error of the type with the (UTF-8) message; returns false so that
    // a check reads `if (!x) return fail(...)`.
    bool fail(const QString& message, int type = 0 /* Error */);
    // An integer argument, or a TypeError naming it.
    bool integer(const QJSValue& v, const char* name, int& out);
    // An integer argument within lo..hi, or a RangeError.
    bool inRange(const QJSValue& v, const char* name, int lo, int hi, int& out);
    // A hex of the map, or a RangeError.
    bool hex(const QJSValue& col, const QJSValue& row, HexPos& out);
    // Ends the operation under way, before the map is replaced.
    void closeOperation() { op.reset(); }
    // The flags a stroke leaves on the operation.
    void note(const StrokeResult& r);
};

class MapApi : public QObject {
    Q_OBJECT
    Q_PROPERTY(int width READ width)
    Q_PROPERTY(int height READ height)
    Q_PROPERTY(QString name READ name)
    Q_PROPERTY(int turnLimit READ turnLimit)
    Q_PROPERTY(QJSValue factions READ factions)

public:
    explicit MapApi(ScriptState& s) : s_(s) {}

    int width() const;
    int height() const;
    QString name() const;
    int turnLimit() const;
    QJSValue factions() const;

    Q_INVOKABLE QJSValue cell(const QJSValue& col, const QJSValue& row);
    Q_INVOKABLE QJSValue troops(const QJSValue& faction);
    Q_INVOKABLE QJSValue labels();

    Q_INVOKABLE void pen(const QJSValue& col, const QJSValue& row);
    Q_INVOKABLE void megaPen(const QJSValue& col, const QJSValue& row);
    Q_INVOKABLE void line(const QJSValue& c0, const QJSValue& r0, const QJSValue& c1,
                          const QJSValue& r1);
    Q_INVOKABLE void box(const QJSValue& c0, const QJSValue& r0, const QJSValue& c1,
                         const QJSValue& r1);
    Q_INVOKABLE void fill(const QJSValue& col, const QJSValue& row);
    Q_INVOKABLE bool deleteLines(const QJSValue& col, const QJSValue& row);
    Q_INVOKABLE void copy(const QJSValue& c0, const QJSValue& r0, const QJSValue& c1,
                          const QJSValue& r1);
    Q_INVOKABLE int paste(const QJSValue& col, const QJSValue& row);
    Q_INVOKABLE void setTerritory(const QJSValue& col, const QJSValue& row,
                                  const QJSValue& territory, const QJSValue& kind = QJSValue());
    Q_INVOKABLE bool setMine(const QJSValue& col, const QJSValue& row, const QJSValue& kind,
                             const QJSValue& count = QJSValue(),
                             const QJSValue& seenBy = QJSValue());
    Q_INVOKABLE void setLabel(const QJSValue& col, const QJSValue& row, const QJSValue& text,
                              const QJSValue& options = QJSValue());
    Q_INVOKABLE bool deleteLabel(const QJSValue& col, const QJSValue& row);
    Q_INVOKABLE QJSValue placeTroop(const QJSValue& faction, const QJSValue& weaponId,
                                    const QJSValue& col, const QJSValue& row,
                                    const QJSValue& options = QJSValue());
    Q_INVOKABLE QJSValue moveTroop(const QJSValue& faction, const QJSValue& slot,
                                   const QJSValue& col, const QJSValue& row,
                                   const QJSValue& options = QJSValue());
    Q_INVOKABLE void recallTroop(const QJSValue& faction, const QJSValue& slot);
    Q_INVOKABLE QJSValue resize(const QJSValue& width, const QJSValue& height,
                                const QJSValue& anchor = QJSValue());
    Q_INVOKABLE void exchangeFactions(const QJSValue& a, const QJSValue& b);
    Q_INVOKABLE int packTroops();
    Q_INVOKABLE QJSValue check();
    Q_INVOKABLE void save(const QJSValue& path, const QJSValue& kind = QJSValue());

private:
    QJSValue troopObject(int table, int slot) const;
    bool strokeReady();
    bool lineBrush() const;
    // A click of the pen or fill at (col, row) with `brush`; a line brush makes it the line
    // tool's click.
    using ClickStroke = void (*)(MapDocument&, const StrokeBrush&, HexPos, StrokeResult&);
    void click(const QJSValue& col, const QJSValue& row, const StrokeBrush& brush,
               ClickStroke stroke);
    void redrawRow(int row);

    ScriptState& s_;
};

class BrushApi : public QObject {
    Q_OBJECT

public:
    explicit BrushApi(ScriptState& s) : s_(s) {}

    Q_INVOKABLE void terrain(const QJSValue& id, const QJSValue& options = QJSValue());
    Q_INVOKABLE void supplyLine();
    Q_INVOKABLE void pen(const QJSValue& kind);
    Q_INVOKABLE void border(const QJSValue& territory, const QJSValue& kind = QJSValue());

private:
    ScriptState& s_;
};

// The global functions a script calls: print (through a small wrapper), open, newMap and
// mapFiles.
class HostApi : public QObject {
    Q_OBJECT

public:
    HostApi(ScriptState& s, std::function<void(const std::string&)> print)
        : s_(s), print_(std::move(print)) {}

    Q_INVOKABLE void printLine(const QString& line);
    Q_INVOKABLE void open(const QJSValue& path);
    Q_INVOKABLE void newMap();
    Q_INVOKABLE QJSValue mapFiles(const QJSValue& folder);

private:
    ScriptState& s_;
    std::function<void(const std::string&)> print_;
};

// The `db` object: the game database as plain objects, with lookups by id and name.
QJSValue databaseObject(QJSEngine& engine, const MapDocument& doc);

}  // namespace kv
