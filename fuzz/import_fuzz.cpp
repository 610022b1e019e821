// Earlier editions' map files on arbitrary bytes, imported with the sample game database:
// recognising the kind, each kind's reader and the fix-ups after it never touch memory
// outside the document's tables, and an imported map goes on through the map check, saving,
// a size change and packing.
#include <cstdint>
#include <string>
#include <string_view>

#include "document/import.h"
#include "document/map_document.h"
#include "fuzz/map_work.h"
#include "fuzz/sample_game.h"

namespace {

void importOnce(kv::MapDocument& doc, std::string_view bytes) {
    using kvfuzz::expect;
    const kv::MapKindInfo kind = kv::detectMapKindBytes(bytes);
    expect(kind.kind >= 0 && kind.kind <= 5);
    kv::clearForImport(doc);
    if (!kv::importEarlierMapBytes(doc, bytes)) {
        doc.resetToNewMap();
        return;
    }
    expect(kind.kind >= 1 && kind.kind <= 4);
    kv::finishImport(doc, kind.kind);
    // The map target takes the later stages more often; here they are a share of the
    // time left for the readers.
    kvfuzz::workOnMap(doc, bytes, kvfuzz::Stages(bytes), {.roundTrip = 8, .resize = 4});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kv::MapDocument& doc = kvfuzz::sampleDocument();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (kv::detectMapKindBytes(bytes).kind != kv::legacy::kUnknown) {
        importOnce(doc, bytes);
        return 0;
    }
    // Bytes of no known kind are refused before the document is touched; they are read as the
    // kind their first byte picks, so that every reader sees arbitrary records.
    kvfuzz::expect(!kv::importEarlierMapBytes(doc, bytes));
    if (size >= 16) {
        const int kind = data[0] % 4 + 1;
        std::string forced(bytes);
        forced.replace(0, 16,
                       kv::legacy::magicOf(kind, data[1] % kv::legacy::lastVersion(kind) + 1));
        importOnce(doc, forced);
    }
    return 0;
}
