// The batch conversion of a folder of maps: each file read, recognised, imported or loaded,
// and written as a current map file beside the others in the destination folder.
#include "document/batch_conversion.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

#include "document/import.h"
#include "document/map_document.h"
#include "document/map_file.h"
#include "framework/cp932.h"
#include "framework/disk_file.h"
#include "framework/errors.h"

namespace kv {

namespace fs = std::filesystem;

namespace {

constexpr size_t kMaxMapBytes = size_t{1} << 30;

constexpr const char* kNoSourceText = "変換元フォルダーが見つかりません。";
constexpr const char* kSameFolderText =
    "変換マップ格納フォルダーに変換元フォルダーとその中のフォルダーは指定できません。";
constexpr const char* kNoDestinationText = "変換マップ格納フォルダーを作成できませんでした。";
constexpr const char* kNotConvertedText = "マップデータとして読み込めませんでした。";
constexpr const char* kDuplicateText = "同じ名前の変換マップをこの変換ですでに書き出しています。";

std::string progressText(const std::string& cp932MapName) {
    return "マップ名 [" + decodeCp932Lossy(cp932MapName) + "]を変換";
}

// The folder a file lies in, as a path that can be compared.
fs::path folderOf(const std::string& file) {
    fs::path parent = fs::path(file).parent_path();
    return parent.empty() ? fs::path(".") : parent;
}

// The folder as the file system resolves it (links, "..", "."), also when it does not exist.
fs::path resolved(const fs::path& folder) {
    std::error_code ec;
    fs::path p = fs::weakly_canonical(fs::absolute(folder, ec), ec);
    return ec ? fs::absolute(folder, ec).lexically_normal() : p;
}

std::vector<fs::path> partsOf(const fs::path& p) {
    std::vector<fs::path> parts;
    for (const fs::path& e : p)
        if (!e.empty() && e != ".") parts.push_back(e);
    return parts;
}

// `inner` is `outer` or lies somewhere below it.
bool isWithin(const fs::path& inner, const fs::path& outer) {
    const std::vector<fs::path> a = partsOf(resolved(inner)), b = partsOf(resolved(outer));
    return b.size() <= a.size() && std::equal(b.begin(), b.end(), a.begin());
}

// A reason not to start, or empty. The destination is made when missing, never before it is
// known to lie outside every source folder.
std::string refusalFor(const std::vector<std::string>& files, const std::string& destination) {
    if (destination.empty()) return kNoDestinationText;
    std::set<std::string> checked;
    for (const std::string& file : files) {
        const fs::path folder = folderOf(file);
        if (checked.insert(folder.string()).second && isWithin(destination, folder))
            return kSameFolderText;
    }
    std::error_code ec;
    if (!fs::is_directory(destination, ec)) {
        fs::create_directories(destination, ec);
        if (ec || !fs::is_directory(destination, ec)) return kNoDestinationText;
    }
    return {};
}

// Reads one file into the document as a current map. False with `reason` when it could not
// be; `isMap` false for a file that is no map at all; `damaged` true for a file refused
// because it is cut short (unless `acceptDamaged`) or holds an impossible map size.
bool convertOne(MapDocument& doc, const std::string& bytes, bool acceptDamaged, bool& isMap,
                bool& damaged, std::string& reason) {
    const MapKindInfo kind = detectMapKindBytes(bytes);
    isMap = kind.kind != legacy::kUnknown;
    if (!isMap) return false;
    MapReadReport report;
    // A file cut short would be written whole with zeros for what is missing.
    report.truncated = sectionsPastEnd(bytes, kind.kind == legacy::kCurrent
                                                  ? MapFileHeader::kReadSections
                                                  : legacy::containerSections(kind.kind));
    bool read = false;
    if (!report.truncated.empty() && !acceptDamaged) {
        read = false;
    } else if (kind.kind == legacy::kCurrent) {
        read = doc.load([&](MapDocument& d) { return readMapFileBytes(d, bytes, &report); });
        doc.mapHeader.setMagic(kMapMagic);
    } else {
        clearForImport(doc);
        read = importEarlierMapBytes(doc, bytes);
        if (read) finishImport(doc, kind.kind);
    }
    if (!read) {
        // Nothing half-converted stays behind for the next file or the caller.
        doc.resetToNewMap();
        doc.isClean = 1;
        damaged = report.damaged();
        reason = damaged ? mapDamageText(report) : kNotConvertedText;
    }
    return read;
}

// Writes a converted map: a temporary file beside it renamed into place, so an interrupted
// batch never leaves half a map under its name. The rename replaces whatever entry has the
// name, a link included (a link is never followed out of the destination). The batch makes
// its files durable once at its end rather than once per map.
void writeConverted(MapDocument& doc, const std::string& path, bool scenario) {
    doc.refreshProductionLists();
    SaveOptions options;
    options.followLink = false;
    options.durable = false;
    const MapFileKind kind = scenario ? MapFileKind::Scenario : MapFileKind::Normal;
    writeFileAtomically(path, mapFileBytes(doc, kind), options);
    doc.filePath = path;
}

void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::syncfs(fd);
    ::close(fd);
}

}  // namespace

std::string batchFinishedText(int count, int failed) {
    std::string text = "変換を完了しました。\nマップ数 " + std::to_string(count) + " 枚";
    if (failed > 0) text += "\n変換できなかったマップ " + std::to_string(failed) + " 枚";
    return text;
}

std::string convertedFileName(const std::string& fileName, bool scenario) {
    const size_t dot = fileName.rfind('.');
    return (dot == std::string::npos ? fileName : fileName.substr(0, dot)) +
           (scenario ? ".kvs" : ".kvn");
}

std::vector<std::string> filesOfFolder(const std::string& folder) {
    std::vector<std::string> files;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code kindError;
        if (!it->is_directory(kindError)) files.push_back(it->path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

BatchResult convertMaps(MapDocument& doc, const std::vector<std::string>& files,
                        const std::string& destination, const BatchListener& listener,
                        bool acceptDamaged) {
    BatchResult result;
    result.refusal = refusalFor(files, destination);
    if (!result.refusal.empty()) return result;
    const auto tell = [&](BatchEvent e) {
        e.total = static_cast<int>(files.size());
        if (listener) listener(e);
    };
    std::set<std::string> outputs;
    int done = 0;
    for (const std::string& source : files) {
        ++done;
        const auto fail = [&](const std::string& reason) {
            result.failures.push_back({source, reason});
            tell({BatchEvent::Failed, source, {}, reason, false, done});
        };
        const std::optional<std::string> bytes = readWholeFile(source, kMaxMapBytes);
        if (!bytes) {
            fail(swCFileError(swCFileError::Read).text());
            continue;
        }
        bool isMap = false, damaged = false;
        std::string reason;
        if (!convertOne(doc, *bytes, acceptDamaged, isMap, damaged, reason)) {
            if (isMap) {
                fail(reason);
                result.failures.back().damaged = damaged;
            } else {
                ++result.skipped;
            }
            continue;
        }
        const bool scenario = !doc.scenarioTexts.isEmpty();
        const std::string name = fs::path(source).filename().string();
        const std::string output =
            (fs::path(destination) / convertedFileName(name, scenario)).string();
        if (!outputs.insert(output).second) {
            fail(kDuplicateText);
            continue;
        }
        try {
            doc.prepareForSave();
            writeConverted(doc, output, scenario);
        } catch (const swCError& e) {
            fail(e.text());
            continue;
        }
        const bool troopsChanged = doc.specChangedTroops != 0;
        doc.specChangedTroops = 0;
        doc.isClean = 1;
        doc.documentOpen = 0;
        ++result.converted;
        result.written.push_back(output);
        tell({BatchEvent::Converted, source, output, progressText(doc.mapHeader.mapName()),
              troopsChanged, done});
    }
    if (result.converted > 0) syncFolder(destination);
    doc.documentOpen = 0;
    const int failed = static_cast<int>(result.failures.size());
    tell({BatchEvent::Finished, {}, {}, batchFinishedText(result.converted, failed), false, done});
    return result;
}

BatchResult convertFolder(MapDocument& doc, const std::string& source,
                          const std::string& destination, const BatchListener& listener) {
    std::error_code ec;
    if (!fs::is_directory(source, ec)) {
        BatchResult refused;
        refused.refusal = kNoSourceText;
        return refused;
    }
    // The folder itself is refused as a destination even when it holds no files.
    std::vector<std::string> files = filesOfFolder(source);
    if (isWithin(destination, source)) {
        BatchResult refused;
        refused.refusal = kSameFolderText;
        return refused;
    }
    return convertMaps(doc, files, destination, listener);
}

}  // namespace kv
