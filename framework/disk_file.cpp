// DiskFile over POSIX descriptors, and the whole-file helpers built on the same calls.
#include "framework/disk_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "framework/errors.h"

namespace kv {

namespace {

[[noreturn]] void fail(int code, std::string caption = {}) {
    throw swCFileError(code, std::move(caption));
}

// Writes everything, going on after interruptions and partial writes.
bool writeAll(int fd, const char* data, size_t count) {
    while (count > 0) {
        ssize_t n = ::write(fd, data, count);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        count -= static_cast<size_t>(n);
    }
    return true;
}

// The file-creation mask, read without changing it (umask() would, for a moment).
mode_t currentUmask() {
    mode_t mask = 022;
    if (FILE* f = std::fopen("/proc/self/status", "re")) {
        char line[256];
        while (std::fgets(line, sizeof line, f)) {
            if (std::strncmp(line, "Umask:", 6) == 0) {
                mask = static_cast<mode_t>(std::strtoul(line + 6, nullptr, 8)) & 0777;
                break;
            }
        }
        std::fclose(f);
    }
    return mask;
}

bool entryExists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

// The entry of `folder` named `name` ignoring ASCII case; the smallest of several, so the
// answer does not depend on the directory's order.
std::optional<std::string> matchInFolder(const std::string& folder, std::string_view name) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return std::nullopt;
    std::optional<std::string> best;
    while (const dirent* e = ::readdir(dir)) {
        std::string_view entry(e->d_name);
        if (equalsIgnoringAsciiCase(entry, name) && (!best || entry < *best))
            best = std::string(entry);
    }
    ::closedir(dir);
    return best;
}

}  // namespace

DiskFile::~DiskFile() {
    if (fd_ >= 0) ::close(fd_);
}

DiskFile::DiskFile(DiskFile&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

DiskFile& DiskFile::operator=(DiskFile&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

void DiskFile::open(const std::string& path, int mode) {
    if (fd_ >= 0) close();
    int flags = O_CLOEXEC;
    switch (mode) {
        case Read: flags |= O_RDONLY; break;
        case Create: flags |= O_WRONLY | O_CREAT | O_TRUNC; break;
        case Write: flags |= O_WRONLY | O_CREAT; break;
        case Update: flags |= O_RDWR | O_CREAT; break;
        default: fail(swCFileError::Open, path);
    }
    int fd = ::open(path.c_str(), flags, 0666);
    if (fd < 0) fail(swCFileError::Open, path);
    struct stat st;
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        fail(swCFileError::Open, path);
    }
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);  // a hint only; failure is harmless
    fd_ = fd;
}

size_t DiskFile::read(void* buffer, size_t count) {
    if (fd_ < 0) fail(swCFileError::Read);
    char* out = static_cast<char*>(buffer);
    size_t done = 0;
    while (done < count) {
        ssize_t n = ::read(fd_, out + done, count - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            fail(swCFileError::Read);
        }
        if (n == 0) break;  // end of file
        done += static_cast<size_t>(n);
    }
    return done;
}

void DiskFile::write(const void* buffer, size_t count) {
    if (fd_ < 0 || !writeAll(fd_, static_cast<const char*>(buffer), count))
        fail(swCFileError::Write);
}

int64_t DiskFile::seek(int64_t offset, int origin) {
    static const int whence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    if (fd_ < 0 || origin < Begin || origin > End) fail(swCFileError::Seek);
    off_t pos = ::lseek(fd_, static_cast<off_t>(offset), whence[origin]);
    if (pos < 0) fail(swCFileError::Seek);
    return static_cast<int64_t>(pos);
}

int64_t DiskFile::size() {
    struct stat st;
    if (fd_ < 0 || ::fstat(fd_, &st) != 0) fail(swCFileError::Size);
    return static_cast<int64_t>(st.st_size);
}

void DiskFile::close() {
    if (fd_ < 0) return;
    int fd = std::exchange(fd_, -1);
    // After an interrupted close the descriptor is gone on Linux; only real errors count.
    if (::close(fd) != 0 && errno != EINTR) fail(swCFileError::Close);
}

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

bool fileExists(const std::string& path) {
    struct stat st;
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

void writeFileAtomically(const std::string& path, std::string_view bytes) {
    // Saving through a symbolic link replaces the file it names, not the link.
    std::string target = path;
    struct stat st;
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* real = ::realpath(path.c_str(), nullptr)) {
            target = real;
            std::free(real);
        }
    }
    size_t slash = target.rfind('/');
    std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    std::string temp = folder + "." + name.substr(0, 200) + ".XXXXXX";

    int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) fail(swCFileError::Write, path);
    // The new file keeps the permissions of the old one; a new file gets the usual ones.
    mode_t mode = ::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode)
                      ? (st.st_mode & 07777)
                      : (0666 & ~currentUmask());
    ::fchmod(fd, mode);
    bool ok = writeAll(fd, bytes.data(), bytes.size()) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok || ::rename(temp.c_str(), target.c_str()) != 0) {
        ::unlink(temp.c_str());
        fail(swCFileError::Write, path);
    }
    // Make the rename itself durable; the data is already safe if this fails.
    int dirFd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
}

std::optional<std::string> readWholeFile(const std::string& path, size_t limit) {
    // Non-blocking so that a FIFO under the name cannot hang the caller; it is refused below.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return std::nullopt;
    struct stat st;
    std::optional<std::string> result;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
        static_cast<uint64_t>(st.st_size) <= limit) {
        std::string data;
        char buffer[65536];
        bool ok = true;
        for (;;) {
            ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 || data.size() + static_cast<size_t>(n) > limit) {
                ok = false;  // unreadable, or it grew past the limit while being read
                break;
            }
            if (n == 0) break;
            data.append(buffer, static_cast<size_t>(n));
        }
        if (ok) result = std::move(data);
    }
    ::close(fd);
    return result;
}

std::string findFileCaseInsensitive(const std::string& path) {
    if (path.empty() || entryExists(path)) return path;
    // Walk the components; each one that does not exist as spelled is looked up in the
    // folder found so far.
    std::string resolved = path[0] == '/' ? "/" : "";
    size_t i = 0;
    while (i < path.size()) {
        if (path[i] == '/') {
            ++i;
            continue;
        }
        size_t end = path.find('/', i);
        if (end == std::string::npos) end = path.size();
        std::string_view name(path.data() + i, end - i);
        std::string candidate = resolved + std::string(name);
        if (!entryExists(candidate)) {
            std::optional<std::string> match =
                matchInFolder(resolved.empty() ? "." : resolved, name);
            if (!match) return path;
            candidate = resolved + *match;
        }
        resolved = std::move(candidate);
        if (end < path.size()) resolved += '/';
        i = end;
    }
    return resolved;
}

}  // namespace kv
