// Earlier editions' map files on arbitrary bytes: recognising the kind, each kind's reader and
// the fix-ups after it never touch memory outside the document's tables.
#include <cstdint>
#include <memory>
#include <string>

#include "document/import.h"
#include "document/map_document.h"
#include "framework/prompter.h"
#include "fuzz/scratch_document.h"
#include "fuzz/scratch_program.h"

namespace {

void importOnce(kv::MapDocument& doc, std::string_view bytes) {
    const kv::MapKindInfo kind = kv::detectMapKindBytes(bytes);
    kvfuzz::expect(kind.kind >= 0 && kind.kind <= 5);
    kv::clearForImport(doc);
    if (!kv::importEarlierMapBytes(doc, bytes)) return;
    kvfuzz::expect(kind.kind >= 1 && kind.kind <= 4);
    kv::finishImport(doc, kind.kind);
    kvfuzz::expect(doc.mapHeader.width() == doc.width() && doc.mapHeader.height() == doc.height());
    kvfuzz::expect(doc.labelCount() <= 1000);
    for (int l = 0; l < doc.labelCount(); ++l)
        kvfuzz::expect(
            doc.contains(doc.mapGrid.labels[size_t(l)].col, doc.mapGrid.labels[size_t(l)].row));
    for (int f = 0; f < kv::kFactionCount; ++f) kvfuzz::expect(doc.troops.count[f] <= 200);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kv::MapDocument& doc = kvfuzz::scratchDocument();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    importOnce(doc, bytes);
    // Bytes of no known kind are also read as the kind their first byte picks, so that every
    // reader sees arbitrary records.
    if (size >= 16 && kv::detectMapKindBytes(bytes).kind == kv::legacy::kUnknown) {
        const int kind = data[0] % 4 + 1;
        std::string forced(bytes);
        forced.replace(0, 16,
                       kv::legacy::magicOf(kind, data[1] % kv::legacy::lastVersion(kind) + 1));
        importOnce(doc, forced);
    }
    return 0;
}
