// `kvmap convert`: earlier editions' maps and earlier versions of ours, converted into current
// map files through the document, file by file, with progress and a summary.
#include "cli/convert_command.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include <unistd.h>

#include "document/batch_conversion.h"
#include "document/map_document.h"
#include "framework/errors.h"
#include "framework/profile.h"
#include "framework/prompter.h"

namespace kv::cli {

namespace {

namespace fs = std::filesystem;

constexpr int kBarWidth = 30;

// The files named on the command line, folders expanded; names that are neither are
// reported at once and counted as failures.
std::vector<std::string> expandSources(const std::vector<std::string>& sources, int& missing) {
    std::vector<std::string> files;
    for (const std::string& s : sources) {
        std::error_code ec;
        if (fs::is_directory(s, ec)) {
            const std::vector<std::string> inFolder = filesOfFolder(s);
            files.insert(files.end(), inFolder.begin(), inFolder.end());
        } else if (fs::exists(fs::symlink_status(s, ec))) {
            files.push_back(s);
        } else {
            std::printf("failed:    %s: no such file or folder\n", s.c_str());
            ++missing;
        }
    }
    return files;
}

class ProgressBar {
public:
    explicit ProgressBar(bool shown) : shown_(shown) {}
    void show(int done, int total) {
        if (!shown_ || total <= 0) return;
        const int filled = done * kBarWidth / total;
        std::fprintf(stderr, "\r[%s%s] %d/%d", std::string(size_t(filled), '#').c_str(),
                     std::string(size_t(kBarWidth - filled), '.').c_str(), done, total);
        std::fflush(stderr);
    }
    // Clears the bar's line before other output.
    void clear() {
        if (!shown_) return;
        std::fprintf(stderr, "\r%*s\r", kBarWidth + 24, "");
        std::fflush(stderr);
    }

private:
    bool shown_;
};

void printPrompts(RecordingPrompter& prompts) {
    for (const Prompt& p : prompts.seen)
        std::printf("           %s: %s\n", p.caption.c_str(), p.text.c_str());
    prompts.seen.clear();
}

void printEvent(const BatchEvent& e) {
    switch (e.kind) {
        case BatchEvent::Converted:
            std::printf("converted: %s -> %s (%s)\n", e.source.c_str(), e.output.c_str(),
                        e.status.c_str());
            if (e.troopsChanged)
                std::printf(
                    "           troops of the initial deployment were dropped: their weapons "
                    "are not in this product\n");
            break;
        case BatchEvent::Failed:
            std::printf("failed:    %s: %s\n", e.source.c_str(), e.status.c_str());
            break;
        case BatchEvent::Finished: break;
    }
}

}  // namespace

int runConvertCommand(const std::vector<std::string>& sources, const std::string& outDir,
                      const std::string& programDir, bool force) {
    if (sources.empty() || outDir.empty()) {
        std::fprintf(stderr, "kvmap: convert needs SRC... and --out DIR\n");
        return 2;
    }
    if (!programDir.empty())
        setProgramPath(programDir + (programDir.back() == '/' ? "" : "/") + "kvmap");
    auto doc = std::make_unique<MapDocument>();
    try {
        doc->loadResources();
    } catch (const swCError& e) {
        std::fprintf(stderr, "kvmap: %s\n", e.text().c_str());
        return 2;
    }
    doc->resetToNewMap();

    int missing = 0;
    const std::vector<std::string> files = expandSources(sources, missing);
    ProgressBar bar(::isatty(STDERR_FILENO) == 1);
    // Messages of the loads are printed under the file they belong to, not as they come.
    RecordingPrompter prompts;
    BatchResult result;
    {
        ScopedPrompter installed(&prompts);
        result = convertMaps(
            *doc, files, outDir,
            [&](const BatchEvent& e) {
                bar.clear();
                printEvent(e);
                printPrompts(prompts);
                if (e.kind != BatchEvent::Finished) bar.show(e.done, e.total);
                std::fflush(stdout);
            },
            force);
    }
    bar.clear();
    if (!result.refusal.empty()) {
        std::fprintf(stderr, "kvmap: %s\n", result.refusal.c_str());
        return 2;
    }
    std::printf("%s\n", batchFinishedText(result.converted).c_str());
    const bool anyDamaged = std::any_of(result.failures.begin(), result.failures.end(),
                                        [](const BatchFailure& f) { return f.damaged; });
    if (anyDamaged && !force)
        std::printf(
            "damaged files were not converted; --force converts what a file cut short "
            "holds\n");
    const int failed = static_cast<int>(result.failures.size()) + missing;
    std::printf("converted %d, failed %d, skipped %d (no map files)\n", result.converted, failed,
                result.skipped);
    return failed == 0 ? 0 : 1;
}

}  // namespace kv::cli
