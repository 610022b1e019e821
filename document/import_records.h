// Shared pieces of the earlier-edition readers: the bounded view of a file's sections, the
// map from old faction records to the six slots, and the record conversions.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "document/import.h"
#include "document/legacy_layouts.h"
#include "document/map_file.h"
#include "framework/byte_cursor.h"

namespace kv {

class MapDocument;
struct HexCell;
class TerrainData;

namespace import_detail {

// Little-endian fields of an old record held in a buffer of known size; bytes past its end
// read as zero.
struct OldRecord {
    const uint8_t* p;
    size_t size;
    uint8_t u8(size_t o) const { return at(o).u8(); }
    uint16_t u16(size_t o) const { return at(o).u16(); }
    uint32_t u32(size_t o) const { return at(o).u32(); }
    ByteReader at(size_t o) const {
        ByteReader r(p, size);
        r.seek(o);
        return r;
    }
    // The text of a field of `width` bytes up to its NUL.
    std::string_view text(size_t o, size_t width) const;
};

// The sections of an old file. Element reads never go past the end of the file or of the
// caller's buffer; counts are always capped by the caller's table.
class Container {
public:
    // Nothing for a file shorter than the 20 bytes of magic and header size. At most
    // `headerKept` bytes of the header are taken (and no more than the file holds).
    static std::optional<Container> open(std::string_view file, size_t headerKept);

    std::string_view magic() const { return file_.substr(0, 16); }
    const SectionDescriptor& section(int i) const { return sections_[static_cast<size_t>(i)]; }
    // The section's count cut to `capacity`.
    uint32_t count(int s, uint32_t capacity) const;
    // Element i of section s into `buffer` (zeroed first; at most min(record size, size)
    // bytes taken). False when the element starts at or past the end of the file.
    bool element(int s, uint32_t i, uint8_t* buffer, size_t size) const;
    // The bytes of a picture section (record size × at most one element); empty when the
    // section is empty or does not lie wholly inside the file.
    std::vector<uint8_t> blob(int s) const;

private:
    std::string_view file_;
    std::array<SectionDescriptor, MapFileHeader::kSections> sections_{};
};

// Where the old faction records went. Taking part, record i keeps slot i (i ≤ 5) or takes the
// first slot nobody has taken; with none left it is dropped. A record that does not take part
// clears its own slot (i ≤ 5) and keeps it for references, unless a later faction took it.
class SlotMap {
public:
    // `takesPart[i]` for the records the file holds (at most 8).
    explicit SlotMap(const std::vector<bool>& takesPart);
    // The new slot of old faction i, or -1 when it has none.
    int slotOf(int oldFaction) const;
    bool takesPart(int oldFaction) const;
    // Owner byte: 0 stays 0, old faction + 1 becomes new slot + 1, 0 when it has none.
    uint8_t owner(uint8_t old) const;
    // Territory byte: as the owner for 1..8, 9 and above neutral (7).
    uint8_t territory(uint8_t old) const;
    // Bit j of old faction j becomes the bit of its new slot; bits without a slot go.
    uint8_t bits(uint8_t old) const;

private:
    std::array<int, legacy::kOldFactions> slot_{};
    std::array<bool, legacy::kOldFactions> takesPart_{};
};

// The rule id of an old rule record in this editor's numbering.
uint8_t convertRuleId(uint8_t old);
// Copies an old rule record (id and 51 values) into the document.
void convertRules(MapDocument& doc, OldRecord old);

// Applies the owner and territory of an old cell to a converted one; a building whose owner
// lost its faction becomes neutral, a capital a city.
void mapCellFactions(HexCell& cell, uint8_t oldOwner, uint8_t oldTerritory, const SlotMap& slots,
                     const TerrainData& terrain);

// Copies a text field into a current record's field, cut at a character boundary; then the
// `trailerSize` bytes that follow the old field go where they follow the new one, unless the
// text fills its whole field (those bytes then hold the terminator). `to` is zeroed for
// `width + trailerSize` bytes first.
void copyTextWithTrailer(uint8_t* to, OldRecord old, size_t textAt, size_t width,
                         size_t trailerSize);

// Converts the troops of old faction sections (first section `firstSection`, one per old
// faction) into the document: a troop is kept when its faction has a slot and its weapon is in
// this product; links to dropped carriers drop their cargo too. Sets specChangedTroops for
// every troop that could not be kept.
void convertTroops(MapDocument& doc, const Container& file, int firstSection, size_t recordSize,
                   const SlotMap& slots);

// The labels of a section into the document's packed table: empty labels, labels off the map
// and second labels of a hex are left out.
void convertLabels(MapDocument& doc, const Container& file, int section, size_t recordSize,
                   const legacy::sc::LabelLayout& layout);

// Reads a file of kind 1..4 (the kind its magic prefix names) into an emptied document. False,
// with nothing read, when its magic is not one of the kind's versions.
bool readEarlierMap(MapDocument& doc, std::string_view bytes, const MapKindInfo& kind);

}  // namespace import_detail
}  // namespace kv
