// Autosave: serialise on the UI thread, write on a worker, remove on a clean save or exit.
#include "app/autosave.h"

#include <QDateTime>
#include <QStandardPaths>

#include <filesystem>
#include <sstream>

#include "document/map_document.h"
#include "document/map_file.h"
#include "framework/cp932.h"
#include "framework/disk_file.h"
#include "framework/errors.h"

namespace kv {

namespace {

constexpr size_t kInfoLimit = 64 * 1024;

std::string inFolder(const std::string& folder, const char* name) {
    return (std::filesystem::path(folder) / name).string();
}

}  // namespace

Autosave::Autosave(MapDocument& doc, std::string folder, Clock clock)
    : doc_(doc), folder_(std::move(folder)), clock_(std::move(clock)) {}

Autosave::~Autosave() {
    waitForWriter();
}

std::string Autosave::defaultFolder() {
    const QString base = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    return (std::filesystem::path(base.toStdString()) / "recovery").string();
}

std::optional<Autosave::Recovery> Autosave::find(const std::string& folder) {
    Recovery r;
    r.mapPath = inFolder(folder, kMapFile);
    if (!fileExists(r.mapPath)) return std::nullopt;
    const std::optional<std::string> info = readWholeFile(inFolder(folder, kInfoFile), kInfoLimit);
    if (!info) return std::nullopt;
    std::istringstream lines(*info);
    for (std::string line; std::getline(lines, line);) {
        const size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
        if (key == "original") r.originalPath = value;
        if (key == "name") r.mapName = value;
        if (key == "time") r.savedAt = value;
    }
    return r;
}

void Autosave::noteEdit() {
    if (pending_) return;
    pending_ = true;
    since_ = clock_();
}

bool Autosave::poll() {
    if (minutes_ == 0 || !pending_) return false;
    if (doc_.isClean) {
        pending_ = false;
        return false;
    }
    if (clock_() - since_ < std::chrono::minutes(minutes_)) return false;
    return write();
}

bool Autosave::write() {
    waitForWriter();
    std::string bytes;
    try {
        bytes = intermediateFileBytes(doc_);
    } catch (const swCError& e) {
        error_ = e.text();
        return false;
    }
    // Lines of UTF-8: the names are shown in the question at the next start.
    std::string info =
        "original=" + doc_.filePath + "\nname=" + decodeCp932Lossy(doc_.mapHeader.mapName()) +
        "\ntime=" +
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")).toStdString() +
        "\n";
    pending_ = false;
    owns_ = true;
    error_.clear();
    writer_ = std::thread([this, bytes = std::move(bytes), info = std::move(info)] {
        try {
            std::filesystem::create_directories(folder_);
            writeFileAtomically(inFolder(folder_, kMapFile), bytes);
            writeFileAtomically(inFolder(folder_, kInfoFile), info);
        } catch (const swCError& e) {
            error_ = e.text();
        } catch (const std::exception& e) {
            error_ = e.what();
        }
    });
    return true;
}

void Autosave::discard() {
    waitForWriter();
    pending_ = false;
    if (!owns_) return;
    remove(folder_);
    owns_ = false;
}

void Autosave::remove(const std::string& folder) {
    std::error_code ignored;
    std::filesystem::remove(inFolder(folder, kMapFile), ignored);
    std::filesystem::remove(inFolder(folder, kInfoFile), ignored);
}

void Autosave::waitForWriter() {
    if (writer_.joinable()) writer_.join();
}

std::string Autosave::lastError() {
    waitForWriter();
    return error_;
}

}  // namespace kv
