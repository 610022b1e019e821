// FLINK archive reading: magic, the two directory forms, block walking and run-length decoding.
#include "framework/archive_reader.h"

#include <algorithm>
#include <cstring>

#include "framework/byte_cursor.h"

namespace kv {

namespace {

constexpr size_t kMagicBytes = 16;
constexpr uint64_t kVersion1Directory = 20;
constexpr uint64_t kVersion1EntryBytes = 16;
constexpr uint64_t kVersion2Directory = 16;

// Emits units into `out` as far as `capacity` allows while always counting.
class UnitSink {
public:
    UnitSink(uint8_t* out, size_t capacity, size_t unit) : out_(out), cap_(capacity), unit_(unit) {}
    void emit(const uint8_t* unit, uint64_t times) {
        total_ += times * unit_;
        if (!out_) return;
        const uint64_t fit = std::min<uint64_t>(times, (cap_ - length_) / unit_);
        uint8_t* at = out_ + length_;
        if (unit_ == 1) {
            std::memset(at, unit[0], static_cast<size_t>(fit));
        } else if (fit > 0) {
            // A run of words doubles what is written with each copy: a long run (up to
            // 65535 words) takes a few calls, not a step per word.
            const size_t bytes = static_cast<size_t>(fit) * 2;
            at[0] = unit[0], at[1] = unit[1];
            for (size_t done = 2; done < bytes;) {
                const size_t n = std::min(done, bytes - done);
                std::memcpy(at + done, at, n);
                done += n;
            }
        }
        length_ += static_cast<size_t>(fit) * unit_;
    }
    size_t total() const { return static_cast<size_t>(total_); }

private:
    uint8_t* out_;
    size_t cap_;
    size_t unit_;
    size_t length_ = 0;
    uint64_t total_ = 0;
};

// Walks the blocks of a version-2 entry. Returns the decoded length, or nothing when a block
// does not fit the entry; writes into `out` when it is given.
bool walkBlocks(std::span<const uint8_t> entry, uint8_t* out, uint64_t capacity, uint64_t& total) {
    total = 0;
    ByteReader in(entry);
    while (!in.atEnd()) {
        if (in.remaining() < 3) return false;
        const size_t length = in.u16();
        const uint8_t method = in.u8();
        if (length > in.remaining()) return false;
        const std::span<const uint8_t> data = entry.subspan(in.position(), length);
        in.skip(length);
        const bool fits = out && total < capacity;
        uint8_t* at = fits ? out + total : nullptr;
        const size_t room = fits ? static_cast<size_t>(capacity - total) : 0;
        size_t n;
        if (method == RunLengthBytes || method == RunLengthWords) {
            n = decodeRunLength(data, method, at, room);
        } else {
            n = length;
            if (at) std::memcpy(at, data.data(), std::min(n, room));
        }
        total += n;
        if (total > ArchiveReader::kMaxEntrySize) return false;
    }
    return true;
}

}  // namespace

size_t decodeRunLength(std::span<const uint8_t> in, int method, uint8_t* out, size_t capacity) {
    const size_t unit = method == RunLengthWords ? 2 : 1;
    const size_t units = in.size() / unit;
    auto at = [&](size_t i) { return in.data() + i * unit; };
    auto value = [&](size_t i) { return unit == 2 ? loadU16(at(i)) : at(i)[0]; };
    UnitSink sink(out, capacity, unit);
    size_t i = 0;
    while (i < units) {
        const size_t literal = i++;
        sink.emit(at(literal), 1);
        if (i < units && value(i) == value(literal)) {
            if (++i >= units) break;  // a pair without its count ends the data
            const uint64_t count = static_cast<uint64_t>(value(i++));
            if (count > 1) sink.emit(at(literal), count - 1);
        }
    }
    return sink.total();
}

void ArchiveReader::open(const std::string& path) {
    inMemory_ = false;
    memory_ = {};
    format_ = Unknown;
    file_.open(path, DiskFile::Read);
    size_ = static_cast<uint64_t>(file_.size());
    readMagic();
}

void ArchiveReader::openMemory(std::span<const uint8_t> image) {
    file_.close();
    inMemory_ = true;
    memory_ = image;
    size_ = image.size();
    format_ = Unknown;
    readMagic();
}

void ArchiveReader::readMagic() {
    char magic[kMagicBytes + 1] = {};
    if (!readAt(0, magic, kMagicBytes)) return;
    if (std::strcmp(magic, "FLINK2 ver.00") == 0) {
        format_ = Version2;
    } else if (std::strcmp(magic, "FLINK Ver1.00") == 0) {
        format_ = Version1;
    }
}

bool ArchiveReader::readAt(uint64_t offset, void* buffer, size_t count) {
    if (offset > size_ || count > size_ - offset) return false;
    if (count == 0) return true;
    if (inMemory_) {
        std::memcpy(buffer, memory_.data() + offset, count);
        return true;
    }
    file_.seek(static_cast<int64_t>(offset), DiskFile::Begin);
    return file_.read(buffer, count) == count;
}

size_t ArchiveReader::entry(int index, const uint8_t*& out) {
    out = nullptr;
    buffer_.clear();
    if (index < 0) return 0;
    size_t n = 0;
    if (format_ == Version1) n = entryVersion1(static_cast<uint64_t>(index));
    if (format_ == Version2) n = entryVersion2(static_cast<uint64_t>(index));
    if (n == 0) {
        buffer_.clear();
        return 0;
    }
    out = buffer_.data();
    return n;
}

size_t ArchiveReader::entryVersion1(uint64_t index) {
    uint8_t dir[kVersion1EntryBytes];
    if (!readAt(kVersion1Directory + kVersion1EntryBytes * index, dir, sizeof dir)) return 0;
    const uint8_t method = dir[0];
    const uint64_t decodedSize = loadU32(dir + 4);
    const uint64_t storedSize = loadU32(dir + 8);
    const uint64_t offset = loadU32(dir + 12);
    if (offset > size_ || storedSize > size_ - offset || storedSize > kMaxEntrySize) return 0;
    std::vector<uint8_t> stored(static_cast<size_t>(storedSize));
    if (!readAt(offset, stored.data(), stored.size())) return 0;
    if (method != RunLengthBytes && method != RunLengthWords) {
        buffer_ = std::move(stored);
        return buffer_.size();
    }
    // The directory's size is trusted only as far as the data really decodes.
    const uint64_t actual = decodeRunLength(stored, method, nullptr, 0);
    const uint64_t size = std::min(decodedSize, actual);
    if (size > kMaxEntrySize) return 0;
    buffer_.resize(static_cast<size_t>(size));
    decodeRunLength(stored, method, buffer_.data(), buffer_.size());
    return buffer_.size();
}

size_t ArchiveReader::entryVersion2(uint64_t index) {
    uint8_t offsets[8];
    if (!readAt(kVersion2Directory + 4 * index, offsets, sizeof offsets)) return 0;
    const uint64_t start = loadU32(offsets);
    const uint64_t end = loadU32(offsets + 4);
    if (start > end || end > size_ || end - start > kMaxEntrySize) return 0;
    std::vector<uint8_t> stored(static_cast<size_t>(end - start));
    if (!readAt(start, stored.data(), stored.size())) return 0;
    uint64_t total = 0;
    if (!walkBlocks(stored, nullptr, 0, total) || total == 0) return 0;
    buffer_.resize(static_cast<size_t>(total));
    walkBlocks(stored, buffer_.data(), total, total);
    return buffer_.size();
}

}  // namespace kv
