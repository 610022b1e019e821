// The thin file object all file access goes through, and small whole-file helpers:
// existence, safe saving, bounded reading and case-insensitive name lookup.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kv {

// A file handle that reports failures by throwing swCFileError (Open, Read, Write, Seek,
// Close, Size); only an open failure carries a caption, the path as given.
class DiskFile {
public:
    enum Mode { Read = 0, Create = 1, Write = 2, Update = 3 };
    enum Origin { Begin = 0, Current = 1, End = 2 };

    DiskFile() = default;
    ~DiskFile();
    DiskFile(const DiskFile&) = delete;
    DiskFile& operator=(const DiskFile&) = delete;
    DiskFile(DiskFile&& other) noexcept;
    DiskFile& operator=(DiskFile&& other) noexcept;

    // Read: must exist. Create: always created empty. Write: opened or created, kept.
    // Update: read and write, opened or created. An already open file is closed first.
    // Only regular files open: a FIFO, device or folder under the name is an open failure.
    void open(const std::string& path, int mode);
    // Reads up to `count` bytes; fewer only at the end of the file. Returns the bytes read.
    size_t read(void* buffer, size_t count);
    void write(const void* buffer, size_t count);
    // Moves relative to the origin (Begin, Current, End) and returns the new position.
    int64_t seek(int64_t offset, int origin);
    int64_t size();
    // Closing a closed file does nothing.
    void close();
    bool isOpen() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

// True when `path` names something that exists and is not a directory.
bool fileExists(const std::string& path);

// A descriptor (close-on-exec, blocking) reading the regular file at `path`, or -1 with errno
// set when it is missing, unreadable or anything but a regular file. Opening never waits: a
// FIFO or device under the name is refused before and after the open.
int openRegularFile(const std::string& path);

// A new, empty file beside `target` under an unpredictable name ".<name>.kvtmp.XXXXXX",
// created exclusively (never through a link planted under that name) with mode 0600. The
// descriptor holds a lock that marks the file in use until it is closed; unlocked regular
// files of that pattern for the same target, left by an interrupted save, are removed first.
// Returns the descriptor and sets `tempPath`, or -1 on failure.
int createTemporaryBeside(const std::string& target, std::string& tempPath);

struct SaveOptions {
    // A link at the path is saved through (the file it names is replaced), not replaced.
    bool followLink = true;
    // Data and rename flushed to disk before returning; a caller writing many files may
    // rather sync once at its end.
    bool durable = true;
};

// Replaces the file at `path` by `bytes` through a temporary file beside it, so that a failed
// save leaves the old file as it was. Throws swCFileError(Write, path) on failure.
void writeFileAtomically(const std::string& path, std::string_view bytes,
                         const SaveOptions& options = {});

// The whole content of a regular file; nullopt when it is missing, unreadable or larger
// than `limit` bytes.
std::optional<std::string> readWholeFile(const std::string& path, size_t limit);

// Compares file names the way a Windows folder does for ASCII: letters ignoring case.
bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b);

// `path` if it exists; otherwise the path whose every missing component is replaced by an
// entry of its folder with the same name ignoring ASCII case; `path` when there is none.
std::string findFileCaseInsensitive(const std::string& path);

}  // namespace kv
