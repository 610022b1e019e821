// The FLINK picture archive (two formats) and its run-length coding of bytes and words.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "framework/disk_file.h"

namespace kv {

// Methods of a stored block or entry; any other value means stored as it is.
enum ArchiveMethod : uint8_t { RunLengthBytes = 0, RunLengthWords = 1 };

// Decodes run-length input of `method` (a byte unit for RunLengthBytes, a 16-bit word for
// RunLengthWords; an odd trailing byte of word input is ignored). A unit followed by the same
// unit starts a run whose length in units is the unit after the pair. Returns the decoded
// length in bytes; writes the whole units that fit in `capacity` bytes of `out`, nothing when
// `out` is null.
size_t decodeRunLength(std::span<const uint8_t> in, int method, uint8_t* out, size_t capacity);

// Reads entries of a FLINK archive from a file or from an archive image in memory. Entries
// whose offsets, sizes or blocks reach outside the archive give size 0.
class ArchiveReader {
public:
    enum Format { Unknown = 0, Version1 = 1, Version2 = 2 };
    // Entries decoding to more than this are refused.
    static constexpr uint64_t kMaxEntrySize = uint64_t{16} << 20;

    // Opens the file for reading (throws swCFileError) and reads its magic.
    void open(const std::string& path);
    // Works on `image`, which must outlive the reader's use of it.
    void openMemory(std::span<const uint8_t> image);
    Format format() const { return format_; }

    // The decoded size of entry `index`, with `out` pointing at its bytes until the next call
    // or the reader's end; 0 (and `out` null) for an unknown format or a bad entry. File
    // failures while reading throw swCFileError.
    size_t entry(int index, const uint8_t*& out);

private:
    bool readAt(uint64_t offset, void* buffer, size_t count);
    size_t entryVersion1(uint64_t index);
    size_t entryVersion2(uint64_t index);
    void readMagic();

    DiskFile file_;
    std::span<const uint8_t> memory_;
    bool inMemory_ = false;
    uint64_t size_ = 0;
    Format format_ = Unknown;
    std::vector<uint8_t> buffer_;
};

}  // namespace kv
