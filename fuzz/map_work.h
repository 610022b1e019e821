// What the map and import targets do with a map once it is in the document: the map check,
// the save image and its reading back, a size change and packing the troop numbers, each
// followed by the invariants of a document.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "document/bulk_edits.h"
#include "document/map_check.h"
#include "document/map_document.h"
#include "document/map_file.h"
#include "framework/errors.h"
#include "fuzz/scratch_program.h"

namespace kvfuzz {

inline void expectDocumentSound(const kv::MapDocument& doc) {
    expect(doc.width() >= 1 && doc.height() >= 1 && doc.width() <= 256 && doc.height() <= 256);
    expect(doc.mapHeader.width() == doc.width() && doc.mapHeader.height() == doc.height());
    // Counting the labels scans the whole table, so it is done once, not once a label.
    const int labels = doc.labelCount();
    expect(labels <= kv::MapGrid::kMaxLabels);
    // A label on the map is found through its hex's label number (a later label on the
    // same hex takes the number).
    for (int l = 0; l < labels; ++l) {
        const kv::TerrainLabel& label = doc.mapGrid.labels[size_t(l)];
        if (!label.inUse() || !doc.contains(label.col, label.row)) continue;
        const int number = doc.labelNumberAt(label.col, label.row);
        expect(number >= l + 1 && number <= labels);
        const kv::TerrainLabel& found = doc.mapGrid.labels[size_t(number - 1)];
        expect(found.col == label.col && found.row == label.row);
    }
    for (int f = 0; f < kv::kFactionCount; ++f)
        expect(doc.troops.count[f] >= 0 && doc.troops.count[f] <= kv::TroopTable::kSlots);
}

inline void expectProblemsLocated(const kv::MapDocument& doc) {
    for (const kv::MapProblem& p : kv::checkMap(doc)) {
        expect(!p.text.empty());
        expect(p.col == -1 || (p.col >= 0 && p.col < 256 && p.row >= 0 && p.row < 256));
        expect(p.table == -1 || kv::TroopTable::isTable(p.table));
    }
}

// The save image of a scenario map (every section), or nothing when a user weapon's icon
// file is missing.
inline std::optional<std::string> saveImage(kv::MapDocument& doc) {
    try {
        return kv::mapFileBytes(doc, kv::MapFileKind::Scenario);
    } catch (const kv::swCFileError&) {
        return std::nullopt;
    }
}

// Which of the costly stages an input goes through: each is taken by a fixed share of the
// inputs, chosen by a hash of the bytes so that an input always takes the same ones (a
// finding reproduces) and every stage still sees inputs of every kind.
class Stages {
public:
    explicit Stages(std::string_view input) : hash_(std::hash<std::string_view>{}(input)) {}
    // True for one input in `n`; `stage` keeps the choices of different stages apart.
    bool oneIn(unsigned n, unsigned stage) const { return (hash_ >> (8 * stage)) % n == 0; }

private:
    size_t hash_;
};

// How often the costly stages are taken: the round trip through the save image by one input
// in `roundTrip`, the size change and packing by one in `resize`. Each costs as much as all
// the rest of an input.
struct StageShares {
    unsigned roundTrip = 4, resize = 2;
};

// `tail` (the input's last bytes) chooses the new size and its anchor.
inline void workOnMap(kv::MapDocument& doc, std::string_view tail, const Stages& stages,
                      StageShares shares = {}) {
    expectDocumentSound(doc);
    expectProblemsLocated(doc);

    // A saved map reads back as itself: saving what was read gives the same bytes again.
    if (stages.oneIn(shares.roundTrip, 1)) {
        if (const std::optional<std::string> saved = saveImage(doc)) {
            expect(doc.load([&](kv::MapDocument& d) { return kv::readMapFileBytes(d, *saved); }));
            expectDocumentSound(doc);
            const std::optional<std::string> again = saveImage(doc);
            expect(again && *again == *saved);
        }
    }
    if (!stages.oneIn(shares.resize, 2)) return;

    auto byte = [&](size_t i) { return i < tail.size() ? uint8_t(tail[tail.size() - 1 - i]) : 0; };
    const int width = byte(0) % 80 + 1, height = byte(1) % 80 + 1, anchor = byte(2) % 10;
    const kv::MapSizeChange change = kv::changeMapSize(doc, width, height, anchor);
    expect(change.changed == (anchor < kv::kAnchorCount));
    if (change.changed) expect(doc.width() == width && doc.height() == height);
    expectDocumentSound(doc);

    kv::packTroopNumbers(doc);
    expectDocumentSound(doc);
    expectProblemsLocated(doc);
}

}  // namespace kvfuzz
