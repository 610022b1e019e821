// `kvmap campaign`: reads a campaign file, checks it and optionally extracts its maps.
#include "cli/campaign_command.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "document/map_document.h"
#include "framework/cp932.h"
#include "framework/disk_file.h"
#include "framework/errors.h"
#include "scenario/campaign_check.h"
#include "scenario/campaign_file.h"

namespace kv::cli {

namespace {

namespace fs = std::filesystem;

QString text(const std::string& cp932) {
    return QString::fromStdString(decodeCp932Lossy(cp932));
}

std::string unreadableText(const std::string& path) {
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    if (!fs::exists(st)) return "no such file";
    if (fs::is_directory(st)) return "a folder, not a campaign file";
    if (!fs::is_regular_file(st)) return "not a regular file (a FIFO, device or socket)";
    const uintmax_t size = fs::file_size(path, ec);
    if (!ec && size > kMaxCampaignFileBytes)
        return "too large to be a campaign file (" + std::to_string(size) + " bytes)";
    return "cannot be read";
}

std::string entryName(int entry) {
    if (entry == 0) return "directory entry 0 (the campaign data)";
    return "directory entry " + std::to_string(entry) + " (the map of slot " +
           std::to_string(entry - 1) + ")";
}

// Why a file is refused, for the one line on stderr.
std::string refusalText(const std::string& path, const CampaignReadResult& r) {
    const std::string size = std::to_string(r.fileSize);
    switch (r.status) {
        case CampaignReadResult::Read: return {};
        case CampaignReadResult::Unreadable: return unreadableText(path);
        case CampaignReadResult::NotACampaign:
            return r.fileSize == 0 ? "an empty file, not a campaign file"
                                   : "not a campaign file (its first 16 bytes are not " +
                                         std::string(kCampaignMagic) + ")";
        case CampaignReadResult::BadHeader:
            if (r.fileSize < 20) return "a campaign file cut short inside its header";
            if (r.headerSize > r.fileSize)
                return "a campaign file cut short: its header of " + std::to_string(r.headerSize) +
                       " bytes is longer than the file (" + size + " bytes)";
            return "a damaged campaign file: its header size " + std::to_string(r.headerSize) +
                   " is outside 32.." + std::to_string(kCampaignHeaderSize);
        case CampaignReadResult::EntryPastEnd:
            return "a damaged campaign file: " + entryName(r.entry) +
                   " runs past the end (offset " + std::to_string(r.bad.offset) + " + size " +
                   std::to_string(r.bad.size) + " > " + size + " bytes)";
    }
    return {};
}

QJsonObject linkJson(const CampaignMap& entry, int kind) {
    const int type = entry.linkType(kind);
    switch (type) {
        case kLinkEnd: return {{"type", "end"}};
        case kLinkEnding: return {{"type", "ending"}};
        case kLinkRetry: return {{"type", "retry"}};
        case kLinkMap: return {{"type", "map"}, {"target", entry.linkTarget(kind)}};
        default: return {{"type", "unknown"}, {"code", type}};
    }
}

QJsonObject mapJson(const CampaignContents& c, const CampaignMapInfo& info) {
    const CampaignMap entry = c.data.map(info.slot);
    const QJsonValue user =
        info.userFactions.size() == 1 ? QJsonValue(info.userFactions.front()) : QJsonValue();
    return {{"slot", info.slot},
            {"name", text(entry.mapName())},
            {"size", static_cast<qint64>(c.maps[size_t(info.slot)].size())},
            {"operatingRank", c.data.operatingRank(info.slot)},
            {"linkedFrom", entry.linkedFrom()},
            {"links", QJsonObject{{"victory", linkJson(entry, kVictoryLink)},
                                  {"draw", linkJson(entry, kDrawLink)},
                                  {"defeat", linkJson(entry, kDefeatLink)}}},
            {"readable", info.readable},
            {"userFaction", user}};
}

QJsonObject campaignJson(const CampaignContents& c, const CampaignReport& r) {
    QJsonArray maps, problems;
    for (const CampaignMapInfo& info : r.maps) maps.append(mapJson(c, info));
    for (const CampaignProblem& p : r.problems)
        problems.append(QJsonObject{{"slot", p.slot},
                                    {"kind", campaignProblemKindName(p.kind)},
                                    {"text", QString::fromStdString(p.text)}});
    return {{"name", text(c.data.name())},
            {"userFaction", c.data.userFaction()},
            {"stageCount", c.data.stageCount()},
            {"mapCount", c.data.mapCount()},
            {"depth", r.depth},
            {"count", r.count},
            {"maps", maps},
            {"problems", problems}};
}

std::string linkText(const QJsonObject& link) {
    const std::string type = link["type"].toString().toStdString();
    if (type == "map") return "slot " + std::to_string(link["target"].toInt());
    if (type == "unknown") return "unknown type " + std::to_string(link["code"].toInt());
    return type;
}

void printSummary(const QJsonObject& o) {
    std::printf("campaign:    %s\n", qPrintable(o["name"].toString()));
    const int user = o["userFaction"].toInt();
    std::printf("userFaction: %d%s\n", user, user > 5 ? " (not decided)" : "");
    std::printf("stageCount:  %d stored, depth %d\n", o["stageCount"].toInt(), o["depth"].toInt());
    std::printf("mapCount:    %d stored, %d held\n", o["mapCount"].toInt(), o["count"].toInt());
    for (const QJsonValue& v : o["maps"].toArray()) {
        const QJsonObject m = v.toObject();
        const QJsonObject links = m["links"].toObject();
        const int from = m["linkedFrom"].toInt();
        const std::string fromText = from == kNoCampaignSlot ? "-" : std::to_string(from);
        const std::string userText =
            m["userFaction"].isNull() ? "-" : std::to_string(m["userFaction"].toInt());
        std::printf("slot %2d: %s (%lld bytes, rank %d, from %s)\n", m["slot"].toInt(),
                    qPrintable(m["name"].toString()), static_cast<long long>(m["size"].toInteger()),
                    m["operatingRank"].toInt(), fromText.c_str());
        std::printf("         victory %s, draw %s, defeat %s; %s, USER faction %s\n",
                    linkText(links["victory"].toObject()).c_str(),
                    linkText(links["draw"].toObject()).c_str(),
                    linkText(links["defeat"].toObject()).c_str(),
                    m["readable"].toBool() ? "reads as a map" : "does not read as a map",
                    userText.c_str());
    }
    const QJsonArray problems = o["problems"].toArray();
    if (problems.isEmpty()) {
        std::printf("no problems found\n");
        return;
    }
    std::printf("problems:\n");
    for (const QJsonValue& v : problems) {
        const QJsonObject p = v.toObject();
        const int slot = p["slot"].toInt();
        const std::string where = slot < 0 ? "campaign" : "slot " + std::to_string(slot);
        std::printf("  %s [%s]: %s\n", where.c_str(), qPrintable(p["kind"].toString()),
                    qPrintable(p["text"].toString()));
    }
}

// A file name for the map of a slot: the slot, then the map name with nothing in it that a
// path would take for a folder or a control character.
std::string extractName(int slot, const std::string& mapNameCp932, bool scenario) {
    std::string name = decodeCp932Lossy(mapNameCp932);
    for (char& ch : name) {
        const unsigned char u = static_cast<unsigned char>(ch);
        if (u < 0x20 || u == 0x7f || ch == '/' || ch == '\\') ch = '_';
    }
    char prefix[8];
    std::snprintf(prefix, sizeof prefix, "%02d", slot);
    return std::string(prefix) + (name.empty() ? "" : "-" + name) + (scenario ? ".kvs" : ".kvn");
}

// Writes each embedded map into `dir`; false when any could not be written.
bool extractMaps(const CampaignContents& c, const CampaignReport& r, const std::string& dir,
                 bool force, bool quiet) {
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec || !fs::is_directory(dir)) {
        std::fprintf(stderr, "kvmap: %s: cannot make the folder (%s)\n", dir.c_str(),
                     ec ? ec.message().c_str() : "a file is in the way");
        return false;
    }
    bool allWritten = true;
    for (const CampaignMapInfo& info : r.maps) {
        const std::string target =
            (fs::path(dir) / extractName(info.slot, c.data.map(info.slot).mapName(), info.scenario))
                .string();
        if (!force && fs::exists(fs::symlink_status(target, ec))) {
            std::fprintf(stderr, "kvmap: %s exists; --force replaces it\n", target.c_str());
            allWritten = false;
            continue;
        }
        try {
            writeFileAtomically(target, c.maps[size_t(info.slot)],
                                SaveOptions{.followLink = false});
        } catch (const swCError& e) {
            std::fprintf(stderr, "kvmap: %s: %s\n", target.c_str(), e.text().c_str());
            allWritten = false;
            continue;
        }
        std::fprintf(quiet ? stderr : stdout, "extracted %s\n", target.c_str());
    }
    return allWritten;
}

}  // namespace

int runCampaignCommand(const std::string& path, bool json, const std::string& extractDir,
                       bool force) {
    CampaignContents campaign;
    const CampaignReadResult read = readCampaignFile(path, campaign);
    if (!read.ok()) {
        std::fprintf(stderr, "kvmap: %s: %s\n", path.c_str(), refusalText(path, read).c_str());
        return 2;
    }
    // The embedded maps are read without game data: only their records are looked at.
    auto scratch = std::make_unique<MapDocument>();
    const CampaignReport report = checkCampaign(campaign, *scratch);
    const QJsonObject o = campaignJson(campaign, report);
    if (json) {
        std::fputs(QJsonDocument(o).toJson(QJsonDocument::Indented).constData(), stdout);
    } else {
        printSummary(o);
    }
    std::fflush(stdout);
    bool extracted = true;
    if (!extractDir.empty()) extracted = extractMaps(campaign, report, extractDir, force, json);
    return report.problems.empty() && extracted ? 0 : 1;
}

}  // namespace kv::cli
