// Showing and replacing a map's scenario texts on the command line, with the scenario dialog's
// conversion and checks.
#include "cli/texts_command.h"

#include <cstdio>

#include "cli/edit_commands.h"
#include "document/map_document.h"
#include "framework/cp932.h"
#include "framework/disk_file.h"
#include "scenario/scenario_text_edit.h"

namespace kv::cli {

namespace {

constexpr size_t kMaxTextFileBytes = 1 << 20;

// A text file's UTF-8 with LF line ends: a byte-order mark dropped, CR LF and lone CR made LF,
// a final line end dropped (editors add one the field never had).
std::string normalisedText(std::string bytes) {
    if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) bytes.erase(0, 3);
    std::string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r') {
            out.push_back('\n');
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        } else {
            out.push_back(bytes[i]);
        }
    }
    if (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
}

int fieldIndex(const std::string& name) {
    const std::vector<std::string>& names = scenarioTextFieldNames();
    for (size_t i = 0; i < names.size(); ++i)
        if (names[i] == name) return static_cast<int>(i);
    return -1;
}

void printTexts(const MapDocument& doc) {
    const ScenarioTexts& st = doc.scenarioTexts;
    std::printf("briefingMode %d, orderMode %d, endingShown %d\n", st.briefingMode(),
                st.orderMode(), st.endingShown());
    for (int i = 0; i < kScenarioTextFieldCount; ++i) {
        const std::string text = st.field(textFieldRules()[size_t(i)].field);
        std::printf("--- %s (%zu bytes)\n%s\n", scenarioTextFieldNames()[size_t(i)].c_str(),
                    text.size(), decodeCp932Lossy(text).c_str());
    }
}

}  // namespace

const std::vector<std::string>& scenarioTextFieldNames() {
    static const std::vector<std::string> names = {
        "briefingHeadline", "briefingSubHeadline", "briefingBody",   "operationName", "orderBody",
        "victoryText",      "factionsText",        "endingHeadline", "endingBody"};
    return names;
}

int runTextsCommand(const std::string& file, const std::vector<std::string>& sets,
                    const std::string& out, const std::string& programDir) {
    if (!sets.empty() && out.empty()) {
        std::fprintf(stderr, "kvmap: texts --set needs --out\n");
        return 2;
    }
    MapDocument doc;
    if (!openMap(doc, file, programDir)) return 2;
    if (sets.empty()) {
        printTexts(doc);
        return 0;
    }
    ScenarioTextInput in;
    const ScenarioTexts& st = doc.scenarioTexts;
    for (int i = 0; i < kScenarioTextFieldCount; ++i)
        in.editTexts[size_t(i)] = toEditText(st.field(textFieldRules()[size_t(i)].field));
    in.briefingMode = st.briefingMode();
    in.orderMode = st.orderMode();
    in.endingShown = st.endingShown();
    bool refused = false;
    for (const std::string& set : sets) {
        const size_t eq = set.find('=');
        const int i = eq == std::string::npos ? -1 : fieldIndex(set.substr(0, eq));
        if (i < 0) {
            std::fprintf(stderr, "kvmap: --set wants FIELD=FILE.txt, FIELD one of");
            for (const std::string& n : scenarioTextFieldNames())
                std::fprintf(stderr, " %s", n.c_str());
            std::fprintf(stderr, "\n");
            return 2;
        }
        const std::string path = set.substr(eq + 1);
        const std::optional<std::string> bytes = readWholeFile(path, kMaxTextFileBytes);
        if (!bytes) {
            std::fprintf(stderr, "kvmap: %s: cannot be read (or larger than 1 MiB)\n",
                         path.c_str());
            return 2;
        }
        const Cp932Text text = toCp932(normalisedText(*bytes));
        if (!text.bytes) {
            std::fprintf(stderr, "kvmap: %s\n", unencodableMessage(i, text.unencodable).c_str());
            refused = true;
            continue;
        }
        in.editTexts[size_t(i)] = toEditText(*text.bytes);
        const size_t measured = in.editTexts[size_t(i)].size();
        if (measured > textFieldRules()[size_t(i)].checkLimit) {
            std::fprintf(stderr, "kvmap: %s\n", tooLongMessage(i, measured).c_str());
            refused = true;
        }
    }
    if (refused) return 2;
    applyScenarioTexts(doc, in);
    if (!saveMap(doc, out)) return 2;
    std::printf("%s: %zu text(s) replaced\n", out.c_str(), sets.size());
    return 0;
}

}  // namespace kv::cli
