// `kvmap info FILE`: the sections, header, factions, rules, troops and labels of a map file.
#include "cli/info_command.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <filesystem>

#include "cli/check_command.h"
#include "cli/texts_command.h"
#include "document/import.h"
#include "document/map_document.h"
#include "document/map_file.h"
#include "document/records.h"
#include "framework/cp932.h"
#include "framework/disk_file.h"
#include "framework/errors.h"
#include "framework/profile.h"
#include "scenario/scenario_text_edit.h"

namespace kv::cli {

namespace {

QString text(const std::string& cp932) {
    return QString::fromStdString(decodeCp932Lossy(cp932));
}

// The kind a file's contents say, or its extension where they cannot tell.
QString kindOf(const std::string& path, const std::string& bytes, const MapFileHeader& h) {
    std::string ext = std::filesystem::path(path).extension().string();
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const SectionDescriptor& s1 = h.sections[kMapHeaderSection];
    const bool intermediateMagic = uint64_t{s1.offset} + 16 <= bytes.size() &&
                                   bytes.compare(s1.offset, 16, kIntermediateMagic) == 0;
    if (intermediateMagic) return ext == ".kst" ? "simpleIntermediate" : "intermediate";
    if (ext == ".ksm") return "simple";
    if (ext == ".kst") return "simpleIntermediate";
    if (ext == ".kvt") return "intermediate";
    if (h.sections[kScenarioTextsSection].count > 0) return "scenario";
    if (ext == ".kvs") return "scenario";
    return "normal";
}

QJsonObject factionJson(int slot, const FactionRecord& f) {
    QJsonArray shares, limits, victory, victoryValues;
    for (int i = 0; i < 3; ++i) shares.append(f.share(i));
    for (int i = 0; i < FactionRecord::kDivisionLimitCount; ++i) limits.append(f.divisionLimit(i));
    for (int i = 0; i < FactionRecord::kVictoryBytes; ++i) victory.append(f.victory(i));
    for (int i = 0; i < FactionRecord::kVictoryValueCount; ++i)
        victoryValues.append(f.victoryValue(i));
    return {{"slot", slot},
            {"name", text(f.name())},
            {"behaviour", f.behaviour()},
            {"participation", f.participation()},
            {"alliances", f.alliances()},
            {"productionType", f.productionType()},
            {"anthem", f.anthem()},
            {"anthemName", text(f.anthemName())},
            {"funds", f.funds()},
            {"fundsLimit", f.fundsLimit()},
            {"productionCountLimit", f.productionCountLimit()},
            {"preset", f.preset()},
            {"shares", shares},
            {"divisionLimits", limits},
            {"victory", victory},
            {"victoryValues", victoryValues},
            // The same values by what the settings dialogs call them.
            {"maxRegiments", QJsonArray{limits[0], limits[1], limits[2]}},
            {"maxUnits", QJsonArray{limits[3], limits[4], limits[5]}},
            {"userRegiments", f.divisionLimit(6)},
            {"userUnits", f.divisionLimit(7)},
            {"victoryConditions", QJsonObject{{"building", f.victory(0)},
                                              {"troop", f.victory(1)},
                                              {"transportCount", f.victory(2)},
                                              {"twoWay", (f.victory(3) & 0x02) != 0},
                                              {"optionBits", f.victory(3)},
                                              {"threeWay", f.victory(4)},
                                              {"values", victoryValues}}}};
}

QJsonArray troopsJson(const MapDocument& doc, int faction) {
    QJsonArray out;
    const int used = doc.troops.usedSlots(faction);
    for (int slot = 0; slot < used; ++slot) {
        const TroopRecord& t = doc.troops.records[faction][slot];
        if (!t.inUse()) continue;
        out.append(QJsonObject{{"slot", slot},
                               {"appearanceTurn", t.appearanceTurn()},
                               {"name", text(t.name())},
                               {"weaponId", t.weaponId()},
                               {"col", t.col()},
                               {"row", t.row()},
                               {"flags", t.flags()},
                               {"division", t.division()}});
    }
    return out;
}

QJsonArray sectionsJson(const MapFileHeader& h, int count) {
    QJsonArray sections;
    for (int i = 0; i < count; ++i) {
        const SectionDescriptor& s = h.sections[size_t(i)];
        sections.append(QJsonObject{{"offset", static_cast<qint64>(s.offset)},
                                    {"recordSize", static_cast<qint64>(s.recordSize)},
                                    {"count", static_cast<qint64>(s.count)}});
    }
    return sections;
}

// The nine texts, decoded, by their command-line field names.
QJsonObject textsJson(const ScenarioTexts& st) {
    QJsonObject texts;
    for (int i = 0; i < kScenarioTextFieldCount; ++i)
        texts[QString::fromStdString(scenarioTextFieldNames()[size_t(i)])] =
            text(st.field(textFieldRules()[size_t(i)].field));
    return texts;
}

QJsonArray numbersJson(const std::vector<int>& numbers) {
    QJsonArray out;
    for (int n : numbers) out.append(n);
    return out;
}

QJsonObject infoJson(const std::string& path, const std::string& bytes, const MapFileHeader& h,
                     const MapDocument& doc, const MapReadReport& report) {
    QJsonArray factions, rules, troops, labels;
    for (int f = 0; f < kFactionCount; ++f) {
        factions.append(factionJson(f, doc.factions[f]));
        troops.append(troopsJson(doc, f));
    }
    const uint8_t* rule = reinterpret_cast<const uint8_t*>(&doc.ruleSettings);
    for (size_t i = 0; i < sizeof(RuleSettings); ++i) rules.append(rule[i]);
    QJsonArray ruleValues;
    for (size_t i = 0; i < kRuleCount; ++i) ruleValues.append(doc.ruleSettings.values[i]);
    for (const TerrainLabel& l : doc.mapGrid.labels)
        if (l.inUse())
            labels.append(QJsonObject{{"text", text(l.textString())},
                                      {"col", l.col},
                                      {"row", l.row},
                                      {"kind", l.kind},
                                      {"progress", l.value}});
    const MapHeader& m = doc.mapHeader;
    const ScenarioTexts& st = doc.scenarioTexts;
    return {
        {"kind", kindOf(path, bytes, h)},
        {"version", versionOfMagic(h.magic)},
        {"magic", QString::fromLatin1(h.magic.data(), 16)},
        {"sections", sectionsJson(h, kSectionCount)},
        {"truncated", numbersJson(report.truncated)},
        {"sizeOutOfRange", report.outcome == MapReadReport::BadSize},
        {"mapHeader", QJsonObject{{"name", text(m.mapName())},
                                  {"message", text(m.message())},
                                  {"width", m.width()},
                                  {"height", m.height()},
                                  {"turnLimit", m.turnLimit()},
                                  {"difficulty", m.difficulty()},
                                  {"buildingIncome", m.buildingIncome()},
                                  {"settingsLocked", m.settingsLocked()},
                                  {"operationRank", m.operationRank()}}},
        {"factions", factions},
        {"ruleSettings", rules},
        {"rules", QJsonObject{{"ruleId", doc.ruleSettings.ruleId}, {"values", ruleValues}}},
        {"troops", troops},
        {"labels", labels},
        {"scenarioTexts", QJsonObject{{"present", h.sections[kScenarioTextsSection].count > 0},
                                      {"briefingMode", st.bytes[ScenarioTexts::kBriefingModeAt]},
                                      {"orderMode", st.bytes[ScenarioTexts::kOrderModeAt]},
                                      {"endingShown", st.bytes[ScenarioTexts::kEndingShownAt]},
                                      {"texts", textsJson(st)}}},
        {"pictures", QJsonObject{{"briefing", static_cast<qint64>(st.briefingPicture.size())},
                                 {"ending", static_cast<qint64>(st.endingPicture.size())}}}};
}

void printSummary(const QJsonObject& o, const MapReadReport& report) {
    const QJsonObject m = o["mapHeader"].toObject();
    std::printf("kind:      %s (version %d, %s)\n", qPrintable(o["kind"].toString()),
                o["version"].toInt(), qPrintable(o["magic"].toString()));
    if (report.damaged()) std::printf("damaged:   %s\n", mapDamageText(report).c_str());
    std::printf("map:       %s, %d x %d, turn limit %d\n", qPrintable(m["name"].toString()),
                m["width"].toInt(), m["height"].toInt(), m["turnLimit"].toInt());
    const QJsonArray factions = o["factions"].toArray();
    const QJsonArray troops = o["troops"].toArray();
    for (int f = 0; f < factions.size(); ++f) {
        const QJsonObject fo = factions[f].toObject();
        std::printf("faction %d: %-12s participation %d, funds %d, %lld troops\n", f,
                    qPrintable(fo["name"].toString()), fo["participation"].toInt(),
                    fo["funds"].toInt(), static_cast<long long>(troops[f].toArray().size()));
    }
    std::printf("labels:    %lld\n", static_cast<long long>(o["labels"].toArray().size()));
    const QJsonObject p = o["pictures"].toObject();
    std::printf("scenario:  %s; pictures %lld / %lld bytes\n",
                o["scenarioTexts"].toObject()["present"].toBool() ? "texts present" : "no texts",
                static_cast<long long>(p["briefing"].toInteger()),
                static_cast<long long>(p["ending"].toInteger()));
}

void printJson(const QJsonObject& o) {
    std::fputs(QJsonDocument(o).toJson(QJsonDocument::Indented).constData(), stdout);
}

// A file of an earlier edition: what it is and whether the header holds its sections. Its
// records are the import's to read (`kvmap convert`).
int describeEarlierEdition(const std::string& bytes, const MapKindInfo& kind, bool json) {
    const int sectionCount = legacy::containerSections(kind.kind);
    const std::vector<int> truncated = sectionsPastEnd(bytes, sectionCount);
    std::string edition = kEarlierMapFilters[kind.kind - legacy::kRealTime].label;
    edition = edition.substr(0, edition.find('('));
    const bool known = kind.version >= 1 && kind.version <= legacy::lastVersion(kind.kind);
    if (json) {
        const std::optional<MapFileHeader> h = parseMapFileHeader(bytes);
        printJson({{"kind", "earlierEdition"},
                   {"edition", QString::fromStdString(edition)},
                   {"version", kind.version},
                   {"versionKnown", known},
                   {"magic", QString::fromLatin1(bytes.data(), 16)},
                   {"sections", h ? sectionsJson(*h, sectionCount) : QJsonArray()},
                   {"truncated", numbersJson(truncated)}});
    } else {
        std::printf("kind:      earlier edition, %s (version %d%s, %.16s)\n", edition.c_str(),
                    kind.version, known ? "" : ", not a version of that edition", bytes.data());
        if (!truncated.empty()) {
            MapReadReport r;
            r.truncated = truncated;
            std::printf("damaged:   %s\n", mapDamageText(r).c_str());
        }
        std::printf("convert:   kvmap convert FILE --out DIR makes it a map of this editor\n");
    }
    return 0;
}

}  // namespace

int runInfoCommand(const std::string& path, const std::string& programDir, bool json) {
    if (!programDir.empty())
        setProgramPath(programDir + (programDir.back() == '/' ? "" : "/") + "kvmap");
    const std::optional<std::string> bytes = readWholeFile(path, kMaxMapFileBytes);
    if (!bytes) {
        std::fprintf(stderr, "kvmap: %s: %s\n", path.c_str(), whyUnreadable(path).c_str());
        return 2;
    }
    const std::optional<MapFileHeader> h = parseMapFileHeader(*bytes);
    if (!h || versionOfMagic(h->magic) < 0) {
        const MapKindInfo kind = detectMapKindBytes(*bytes);
        if (kind.kind >= legacy::kRealTime && kind.kind <= legacy::kModern)
            return describeEarlierEdition(*bytes, kind, json);
        std::fprintf(stderr, "kvmap: %s: %s\n", path.c_str(),
                     bytes->empty() ? "an empty file, not a map file"
                                    : "not a map file (its first 16 bytes are no known magic)");
        return 2;
    }
    MapDocument doc;
    try {
        // Old production lists convert against the game data when it is there.
        doc.gameDatabase.loadAll();
    } catch (const swCError&) {
        std::fprintf(stderr, "kvmap: no game data; earlier production lists stay empty\n");
    }
    MapReadReport report;
    readMapFileBytes(doc, *bytes, &report);
    // The counts are not stored; they follow from the records read.
    doc.troops.recomputeCounts();
    const QJsonObject o = infoJson(path, *bytes, *h, doc, report);
    if (json) {
        printJson(o);
    } else {
        printSummary(o, report);
    }
    return 0;
}

}  // namespace kv::cli
