// Map files of every version on arbitrary bytes: the reader, the document's load repairs
// that follow it, and the picture sections never touch memory outside the tables.
#include <cstdint>
#include <fstream>
#include <memory>
#include <string>

#include "document/map_document.h"
#include "document/map_file.h"
#include "framework/prompter.h"
#include "fuzz/scratch_document.h"
#include "fuzz/scratch_program.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kv::MapDocument& doc = kvfuzz::scratchDocument();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string path = kvfuzz::scratchProgram({}) + "/fuzz.kvs";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    for (int which : {kv::kBriefingPictureSection, kv::kEndingPictureSection}) {
        auto picture = kv::readPictureSection(path, which);
        kvfuzz::expect(!picture || (!picture->empty() && picture->size() <= size));
    }
    // Nearly every input is told about (no map, cut short): recorded for this input only.
    kv::RecordingPrompter told;
    kv::ScopedPrompter installed(&told);
    kv::loadMapFile(doc, path);
    kvfuzz::expect(doc.width() >= 1 && doc.height() >= 1 && doc.width() * doc.height() <= 65536);
    kvfuzz::expect(doc.labelCount() <= 1000);
    return 0;
}
