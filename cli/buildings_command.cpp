// `kvmap buildings FILE`: the building count table of a map.
#include "cli/buildings_command.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

#include "cli/check_command.h"
#include "document/building_count.h"
#include "document/map_document.h"
#include "document/map_file.h"
#include "framework/cp932.h"

namespace kv::cli {

namespace {

// The owner columns by name: the faction slots 1–6, then neutral and all owners.
const char* const kColumnNames[BuildingCount::kColumns] = {"1", "2", "3",       "4",
                                                           "5", "6", "neutral", "all"};

QJsonArray cellsJson(const BuildingCount& count, int row) {
    QJsonArray owners;
    for (int c = 0; c < BuildingCount::kColumns; ++c) {
        const BuildingCount::Cell& cell = row < 0 ? count.total(c) : count.cell(c, row);
        owners.append(QJsonObject{{"owner", kColumnNames[c]},
                                  {"intact", cell.intact},
                                  {"destroyed", cell.destroyed},
                                  {"income", static_cast<qint64>(cell.income)}});
    }
    return owners;
}

std::string terrainName(const MapDocument& doc, int terrain) {
    const TerrainType& t = doc.gameDatabase.terrain(size_t(terrain));
    return decodeCp932Lossy(std::string(t.name, strnlen(t.name, sizeof t.name)));
}

// One line per kind (and the totals): the owners that hold any, then all owners.
void printLine(const BuildingCount& count, int row, const std::string& name) {
    std::printf("%s:", name.c_str());
    for (int c = 0; c < BuildingCount::kColumns; ++c) {
        const BuildingCount::Cell& cell = row < 0 ? count.total(c) : count.cell(c, row);
        if (c != BuildingCount::kAllColumn && cell.intact == 0 && cell.destroyed == 0) continue;
        std::printf("  %s %d/%d income %lld", kColumnNames[c], cell.intact, cell.destroyed,
                    static_cast<long long>(cell.income));
    }
    std::printf("\n");
}

}  // namespace

int runBuildingsCommand(const std::string& path, const std::string& programDir, bool json) {
    MapDocument doc;
    if (!loadProgramData(doc, programDir)) return 2;
    MapReadReport report;
    if (!loadMapFile(doc, path, &report)) {
        const std::string why = report.outcome == MapReadReport::Unread ? whyUnreadable(path)
                                                                        : "cannot be read as a map";
        std::fprintf(stderr, "kvmap: %s: %s\n", path.c_str(), why.c_str());
        return 2;
    }
    BuildingCount count(doc.gameDatabase.terrainTypes());
    count.recount(doc);
    if (json) {
        QJsonArray kinds;
        for (int row = 0; row < count.rowCount(); ++row) {
            const int terrain = count.terrainOfRow(row);
            kinds.append(QJsonObject{{"terrain", terrain},
                                     {"name", QString::fromStdString(terrainName(doc, terrain))},
                                     {"owners", cellsJson(count, row)}});
        }
        const QJsonObject o{{"file", QString::fromStdString(path)},
                            {"width", doc.width()},
                            {"height", doc.height()},
                            {"kinds", kinds},
                            {"totals", cellsJson(count, -1)}};
        std::fputs(QJsonDocument(o).toJson(QJsonDocument::Indented).constData(), stdout);
        return 0;
    }
    std::printf("owners: 1-6 the factions, neutral, all; counts intact/destroyed\n");
    for (int row = 0; row < count.rowCount(); ++row)
        printLine(count, row, terrainName(doc, count.terrainOfRow(row)));
    printLine(count, -1, "合計");
    return 0;
}

}  // namespace kv::cli
