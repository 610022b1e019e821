// `kvmap texts FILE`: the scenario texts of a map, and replacing them from UTF-8 text files.
#pragma once

#include <string>
#include <vector>

namespace kv::cli {

// The field names of the command line, in stored order: briefingHeadline, briefingSubHeadline,
// briefingBody, operationName, orderBody, victoryText, factionsText, endingHeadline, endingBody.
const std::vector<std::string>& scenarioTextFieldNames();

// Without `sets`, prints the texts and display bytes of FILE. With them (each "FIELD=TEXT.txt")
// replaces those texts from UTF-8 files (any line ends) and writes the map to `out`. A text
// that has no CP932 form or is longer than the scenario dialog accepts is refused with the
// dialog's message; exit 2 then, and for a map or text file that cannot be read or written.
int runTextsCommand(const std::string& file, const std::vector<std::string>& sets,
                    const std::string& out, const std::string& programDir);

}  // namespace kv::cli
