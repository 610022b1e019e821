// Test fixture for the earlier-edition import: small old maps described in place, written by
// the legacy writer, imported into the sample document.
#pragma once

#include <string>

#include "document/import.h"
#include "document/legacy_writer.h"
#include "framework/byte_cursor.h"
#include "framework/cp932.h"
#include "sample_document.h"

namespace kvtest {

class LegacyFixture : public SampleDocument {
protected:
    // A map of `width` × `height` plain hexes (picture 1) with six named factions, the first
    // three taking part.
    static kv::LegacyMap smallMap(int kind, int width = 8, int height = 6) {
        kv::LegacyMap m = kv::blankLegacyMap(kind, kv::legacy::lastVersion(kind), width, height,
                                             kv::kTerrainPlain, 1);
        m.name = "OLD";
        for (int i = 0; i < 6; ++i) {
            kv::LegacyFaction f;
            f.name = "F" + std::to_string(i);
            f.participation = i < 3 ? 2 : 0;
            m.factions.push_back(f);
        }
        return m;
    }
    static kv::LegacyTroop oldTroop(int weapon, int col, int row) {
        kv::LegacyTroop t;
        t.weaponId = static_cast<uint16_t>(weapon);
        t.col = static_cast<uint8_t>(col);
        t.row = static_cast<uint8_t>(row);
        t.name = "T";
        return t;
    }
    static void putOldTroop(kv::LegacyMap& m, int faction, int slot, const kv::LegacyTroop& t) {
        auto& table = m.troops[static_cast<size_t>(faction)];
        if (table.size() <= static_cast<size_t>(slot))
            table.resize(static_cast<size_t>(slot) + 1, kv::LegacyTroop{.turn = 0});
        table[static_cast<size_t>(slot)] = t;
    }
    kv::HexCell& oldCell(kv::LegacyMap& m, int col, int row) {
        return m.cells[static_cast<size_t>(col + row * m.width)];
    }

    // Reads the bytes the way the import command does, without the command's message.
    bool importBytes(const std::string& bytes, bool finish = true) {
        kv::clearForImport(doc());
        const bool read = kv::importEarlierMapBytes(doc(), bytes);
        if (read && finish) kv::finishImport(doc(), kv::detectMapKindBytes(bytes).kind);
        return read;
    }
    bool importMap(const kv::LegacyMap& m, bool finish = true) {
        return importBytes(kv::legacyMapBytes(m), finish);
    }
    const kv::HexCell& cell(int col, int row) { return *doc().cellAt(col, row); }
    static std::string utf8(const std::string& cp932) { return kv::decodeCp932Lossy(cp932); }
    static std::string sjis(const char* utf8) { return kv::encodeCp932(utf8).value_or(""); }
    static uint32_t u32At(const std::string& file, size_t at) { return kv::loadU32(&file[at]); }
    // Where a section's first record starts in a file image.
    static size_t sectionOffset(const std::string& file, int section) {
        return u32At(file, 20 + 12 * static_cast<size_t>(section));
    }
};

}  // namespace kvtest
