// DiskFile over POSIX descriptors, and the whole-file helpers built on the same calls.
#include "framework/disk_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
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

// Opens `path` with `flags` only when it is a regular file (or, with O_CREAT, missing).
// It is looked at before the open, because opening a FIFO or device can block or act on it,
// opened non-blocking, looked at again (the name may have changed in between) and only then
// made blocking. -1 with errno set otherwise.
int openRegular(const std::string& path, int flags) {
    struct stat st;
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return -1;
    }
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, 0666);
    if (fd < 0) return -1;
    const int status = ::fcntl(fd, F_GETFL);
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || status < 0 ||
        ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0) {
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    return fd;
}

// Temporary files are ".<name>.kvtmp." followed by six random letters and digits; the name is
// shortened so the whole stays within the longest file name.
constexpr size_t kTempNameKept = 200;
constexpr size_t kTempRandomChars = 6;

std::string temporaryPrefix(std::string_view name) {
    return "." + std::string(name.substr(0, kTempNameKept)) + ".kvtmp.";
}

bool isTemporarySuffix(std::string_view s) {
    if (s.size() != kTempRandomChars) return false;
    for (char c : s) {
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')))
            return false;
    }
    return true;
}

bool fillRandomSuffix(char* out) {
    static constexpr char kChars[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    unsigned char bytes[kTempRandomChars];
    size_t got = 0;
    while (got < sizeof bytes) {
        const ssize_t n = ::getrandom(bytes + got, sizeof bytes - got, 0);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        got += static_cast<size_t>(n);
    }
    for (size_t i = 0; i < sizeof bytes; ++i) out[i] = kChars[bytes[i] % (sizeof kChars - 1)];
    return true;
}

// Removes what an interrupted save to the same target left behind: regular files of exactly
// our pattern whose lock nobody holds (a save in progress holds its own). Links and anything
// else under such a name stay; nothing is followed.
void removeStaleTemporaries(const std::string& folder, const std::string& prefix) {
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return;
    const int dirFd = ::dirfd(dir);
    while (const dirent* e = ::readdir(dir)) {
        const std::string_view entry(e->d_name);
        if (!entry.starts_with(prefix) || !isTemporarySuffix(entry.substr(prefix.size()))) continue;
        const int fd =
            ::openat(dirFd, e->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat st;
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlinkat(dirFd, e->d_name, 0);
        ::close(fd);
    }
    ::closedir(dir);
}

// Takes the lock that marks a new temporary as in use, and makes sure the name still names
// it: a cleaner may have taken it between its creation and the lock, and then removes it.
// Where the file system has no locks, the temporary goes unlocked (and is never cleaned).
bool claimTemporary(int fd, const std::string& path) {
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) return false;
    struct stat mine, named;
    return ::fstat(fd, &mine) == 0 && ::lstat(path.c_str(), &named) == 0 &&
           mine.st_dev == named.st_dev && mine.st_ino == named.st_ino;
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
    int flags = 0;
    switch (mode) {
        case Read: flags |= O_RDONLY; break;
        case Create: flags |= O_WRONLY | O_CREAT | O_TRUNC; break;
        case Write: flags |= O_WRONLY | O_CREAT; break;
        case Update: flags |= O_RDWR | O_CREAT; break;
        default: fail(swCFileError::Open, path);
    }
    const int fd = openRegular(path, flags);
    if (fd < 0) fail(swCFileError::Open, path);
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

int openRegularFile(const std::string& path) {
    return openRegular(path, O_RDONLY);
}

int createTemporaryBeside(const std::string& target, std::string& tempPath) {
    const size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    const std::string prefix =
        temporaryPrefix(slash == std::string::npos ? target : target.substr(slash + 1));
    removeStaleTemporaries(folder, prefix);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = folder + prefix + std::string(kTempRandomChars, 'X');
        if (!fillRandomSuffix(candidate.data() + candidate.size() - kTempRandomChars)) return -1;
        const int fd =
            ::open(candidate.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno != EEXIST) return -1;
            continue;
        }
        if (claimTemporary(fd, candidate)) {
            tempPath = std::move(candidate);
            return fd;
        }
        ::close(fd);
    }
    return -1;
}

void writeFileAtomically(const std::string& path, std::string_view bytes,
                         const SaveOptions& options) {
    // Saving through a symbolic link replaces the file it names, not the link, unless the
    // caller wants the entry itself replaced.
    std::string target = path;
    struct stat st;
    if (options.followLink && ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* real = ::realpath(path.c_str(), nullptr)) {
            target = real;
            std::free(real);
        }
    }
    std::string temp;
    const int fd = createTemporaryBeside(target, temp);
    if (fd < 0) fail(swCFileError::Write, path);
    // The new file keeps the permissions of the old one; a new file gets the usual ones.
    const mode_t mode = ::lstat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode)
                            ? (st.st_mode & 07777)
                            : (0666 & ~currentUmask());
    ::fchmod(fd, mode);
    bool ok = writeAll(fd, bytes.data(), bytes.size()) && (!options.durable || ::fsync(fd) == 0);
    ok = ::close(fd) == 0 && ok;
    if (!ok || ::rename(temp.c_str(), target.c_str()) != 0) {
        ::unlink(temp.c_str());
        fail(swCFileError::Write, path);
    }
    if (!options.durable) return;
    // Make the rename itself durable; the data is already safe if this fails.
    const size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
}

std::optional<std::string> readWholeFile(const std::string& path, size_t limit) {
    const int fd = openRegularFile(path);
    if (fd < 0) return std::nullopt;
    struct stat st;
    std::optional<std::string> result;
    if (::fstat(fd, &st) == 0 && static_cast<uint64_t>(st.st_size) <= limit) {
        // Read straight into a string of the file's size; a file that grows while being read
        // goes on in steps (up to the limit), one that shrinks ends where it ends.
        std::string data(static_cast<size_t>(st.st_size), '\0');
        size_t got = 0;
        bool ok = true;
        for (;;) {
            if (got == data.size()) {
                if (data.size() >= limit) {
                    char probe;
                    ssize_t n = ::read(fd, &probe, 1);
                    while (n < 0 && errno == EINTR) n = ::read(fd, &probe, 1);
                    ok = n == 0;  // unreadable, or grown past the limit
                    break;
                }
                data.resize(std::min(limit, std::max<size_t>(data.size() * 2, 65536)));
            }
            const ssize_t n = ::read(fd, data.data() + got, data.size() - got);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                ok = false;
                break;
            }
            if (n == 0) break;
            got += static_cast<size_t>(n);
        }
        if (ok) {
            data.resize(got);
            result = std::move(data);
        }
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
