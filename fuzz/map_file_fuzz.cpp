// Map files of every version on arbitrary bytes, loaded with the sample game database: the
// reader, the load repairs and the picture sections never touch memory outside the tables,
// and a map that loads goes on through the map check, saving, a size change and packing.
#include <cstdint>
#include <string>
#include <string_view>

#include "document/map_document.h"
#include "document/map_file.h"
#include "document/map_header.h"
#include "framework/disk_file.h"
#include "fuzz/map_work.h"
#include "fuzz/sample_game.h"
#include "fuzz/scratch_program.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using kvfuzz::expect;
    kv::MapDocument& doc = kvfuzz::sampleDocument();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const kvfuzz::Stages stages(bytes);
    kv::MapReadReport report;
    bool loaded = false;
    // Through a file (with the picture sections and the messages about the file) for one
    // input in four; the others are read from the bytes, as the file reader does.
    if (stages.oneIn(4, 0)) {
        static const std::string path = kvfuzz::scratchFolder() + "/fuzz.kvs";
        try {
            kv::writeFileAtomically(path, bytes);
        } catch (const kv::swCError&) {
            std::abort();
        }
        for (int which : {kv::kBriefingPictureSection, kv::kEndingPictureSection}) {
            auto picture = kv::readPictureSection(path, which);
            expect(!picture || (!picture->empty() && picture->size() <= size));
        }
        loaded = kv::loadMapFile(doc, path, &report);
    } else {
        loaded =
            doc.load([&](kv::MapDocument& d) { return kv::readMapFileBytes(d, bytes, &report); });
        doc.mapHeader.setMagic(kv::kMapMagic);
    }
    kvfuzz::expectDocumentSound(doc);
    expect(!loaded || report.outcome == kv::MapReadReport::Read);
    if (loaded) kvfuzz::workOnMap(doc, bytes, stages);
    return 0;
}
