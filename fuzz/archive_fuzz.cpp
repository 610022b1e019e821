// FLINK archive reading on arbitrary bytes behind either magic (or none): never crashes,
// entries stay within their limit, a file reads like its memory image, and run-length
// decoding into a buffer agrees with the sizing pass.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "framework/archive_reader.h"
#include "framework/disk_file.h"
#include "framework/errors.h"
#include "fuzz/scratch_program.h"

namespace {

constexpr int kEntriesTried = 12;

std::vector<std::string> entries(kv::ArchiveReader& reader) {
    std::vector<std::string> out;
    for (int i = -1; i < kEntriesTried; ++i) {
        const uint8_t* data = nullptr;
        const size_t n = reader.entry(i, data);
        kvfuzz::expect((n == 0) == (data == nullptr));
        kvfuzz::expect(n <= kv::ArchiveReader::kMaxEntrySize);
        out.emplace_back(reinterpret_cast<const char*>(data), n);
    }
    return out;
}

void checkRunLength(std::span<const uint8_t> in, int method) {
    const size_t n = kv::decodeRunLength(in, method, nullptr, 0);
    if (n > (size_t{1} << 20)) return;  // larger runs take long and find nothing new
    std::vector<uint8_t> full(n);
    kvfuzz::expect(kv::decodeRunLength(in, method, full.data(), full.size()) == n);
    // A short buffer receives the whole units that fit.
    std::vector<uint8_t> part(n / 2);
    kvfuzz::expect(kv::decodeRunLength(in, method, part.data(), part.size()) == n);
    const size_t whole = method == kv::RunLengthWords ? part.size() & ~size_t{1} : part.size();
    kvfuzz::expect(
        std::equal(part.begin(), part.begin() + static_cast<ptrdiff_t>(whole), full.begin()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    // The first byte chooses the magic put in front of the rest.
    static const char* const kMagic[] = {"FLINK Ver1.00", "FLINK2 ver.00", ""};
    const char* magic = kMagic[data[0] % 3];
    std::string archive;
    if (*magic) {
        archive.assign(magic);
        archive.resize(16, '\0');
    }
    archive.append(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::span<const uint8_t> image(reinterpret_cast<const uint8_t*>(archive.data()),
                                         archive.size());

    kv::ArchiveReader memory;
    memory.openMemory(image);
    const std::vector<std::string> fromMemory = entries(memory);

    const std::string path = kvfuzz::scratchProgram({}) + "/archive.dat";
    try {
        kv::writeFileAtomically(path, archive);
        kv::ArchiveReader file;
        file.open(path);
        kvfuzz::expect(file.format() == memory.format());
        kvfuzz::expect(entries(file) == fromMemory);
    } catch (const kv::swCError&) {
        std::abort();
    }

    checkRunLength(image.subspan(16 < image.size() ? 16 : 0), kv::RunLengthBytes);
    checkRunLength(image.subspan(16 < image.size() ? 16 : 0), kv::RunLengthWords);
    return 0;
}
