// Converting every map of a folder (earlier editions and earlier versions of this editor's
// format) into current map files in another folder.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace kv {

class MapDocument;

// The batch dialog's title, folder selection titles and remembered folders.
inline constexpr const char* kBatchDialogTitle = "マップ一括変換";
inline constexpr const char* kBatchSourceBrowseTitle = "変換元フォルダーの選択";
inline constexpr const char* kBatchDestinationBrowseTitle = "変換マップ格納フォルダーの選択";
inline constexpr const char* kBatchSourceKey = "BatchSrcFolder";
inline constexpr const char* kBatchDestinationKey = "BatchDstFolder";

// What the batch tells its caller, file by file.
struct BatchEvent {
    enum Kind { Converted, Failed, Finished };
    Kind kind = Converted;
    std::string source;  // the file handled (empty for Finished)
    std::string output;  // Converted: the file written
    // UTF-8: "マップ名 [%s]を変換" for a converted map, the reason for a failure, or the closing
    // "変換を完了しました。\nマップ数 %d 枚" (with the count of failures when there were any).
    std::string status;
    bool troopsChanged = false;  // Converted: troops of the initial deployment had to change
    int done = 0;                // files handled so far, this one included
    int total = 0;               // files of the batch
};
using BatchListener = std::function<void(const BatchEvent&)>;

struct BatchFailure {
    std::string source;
    std::string reason;    // UTF-8
    bool damaged = false;  // refused as cut short or with an impossible map size
};

struct BatchResult {
    // Why the batch did not start (UTF-8); empty when it ran.
    std::string refusal;
    int converted = 0;
    int skipped = 0;  // files that are no maps
    std::vector<BatchFailure> failures;
    std::vector<std::string> written;
};

// The closing status of a batch; a last line counts the maps that failed, if any did.
std::string batchFinishedText(int count, int failed = 0);

// The name a converted map is written under: everything from the name's last '.' replaced by
// ".kvs" for a scenario (".kvn" otherwise), the extension added when there is none.
std::string convertedFileName(const std::string& fileName, bool scenario);

// The entries of a folder that are not folders, sorted by name (file-system order is no order).
std::vector<std::string> filesOfFolder(const std::string& folder);

// Converts each of `files` in turn through the document and writes it into `destination`
// (created when missing) as a scenario map file when its scenario texts are not empty, else
// as a normal map file. Files that are no maps are skipped without a word; a file that cannot
// be read, converted or written is reported and the batch goes on. A file whose sections run
// past its end is refused as damaged unless `acceptDamaged` (then what it holds is converted,
// the rest left empty); one with a map size outside 1..256 is always refused. Nothing is ever
// written into the folder of a source file: a destination that is one of those folders or lies
// inside one (by any path, links resolved) refuses the whole batch before anything is made. The
// document keeps the last converted map (a new map when the last map failed), with
// documentOpen = 0.
BatchResult convertMaps(MapDocument& doc, const std::vector<std::string>& files,
                        const std::string& destination, const BatchListener& listener,
                        bool acceptDamaged = false);
// The same for every file of `source` (not its sub-folders).
BatchResult convertFolder(MapDocument& doc, const std::string& source,
                          const std::string& destination, const BatchListener& listener);

}  // namespace kv
