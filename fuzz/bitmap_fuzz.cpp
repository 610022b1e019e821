// Bitmap reading on arbitrary bytes: never crashes, reads a file as it reads the same bytes in
// memory, and every picture it accepts decodes to width × height pixels that write back.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "framework/bitmap_block.h"
#include "framework/disk_file.h"
#include "framework/errors.h"
#include "fuzz/scratch_program.h"

namespace {

struct Outcome {
    bool failed = false;
    kv::BitmapBlock block;
};

Outcome readMemory(std::span<const uint8_t> data) {
    Outcome o;
    try {
        o.block = kv::readBitmapBlock(data);
    } catch (const kv::swCBitmapError& e) {
        kvfuzz::expect(e.code == kv::swCBitmapError::Create);
        o.failed = true;
    }
    return o;
}

Outcome readFile(const std::string& path) {
    Outcome o;
    kv::DiskFile file;
    try {
        file.open(path, kv::DiskFile::Read);
        o.block = kv::readBitmapBlock(file);
    } catch (const kv::swCBitmapError&) {
        o.failed = true;
    } catch (const kv::swCError&) {
        std::abort();  // the file is there and readable
    }
    return o;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    const Outcome memory = readMemory(bytes);

    const std::string path = kvfuzz::scratchProgram({}) + "/picture.bmp";
    try {
        kv::writeFileAtomically(path, std::string(reinterpret_cast<const char*>(data), size));
    } catch (const kv::swCError&) {
        std::abort();
    }
    const Outcome file = readFile(path);
    kvfuzz::expect(memory.failed == file.failed);
    kvfuzz::expect(memory.block.pixels == file.block.pixels);
    kvfuzz::expect(memory.block.colours == file.block.colours);
    if (memory.failed || memory.block.empty()) return 0;

    const kv::BitmapBlock& block = memory.block;
    kvfuzz::expect(block.width() > 0 && block.height() > 0);
    kvfuzz::expect(block.pixels.size() == block.stride() * static_cast<size_t>(block.height()));
    const std::vector<uint32_t> pixels = kv::decodeBitmapPixels(block);
    kvfuzz::expect(pixels.size() == static_cast<size_t>(block.width()) * block.height());

    // What was read writes back as a plain bitmap that reads as the same pixels.
    const std::string again = kv::encodeBitmapFile(block.width(), block.height(), pixels);
    const Outcome round = readMemory(
        std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(again.data()), again.size()));
    kvfuzz::expect(!round.failed && kv::decodeBitmapPixels(round.block) == pixels);
    return 0;
}
