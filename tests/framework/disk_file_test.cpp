// DiskFile modes and failures, safe saving, bounded reading and case-insensitive lookup.
#include "framework/disk_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "framework/errors.h"
#include "framework/prompter.h"
#include "support/test_paths.h"

namespace kv {
namespace {

using kvtest::readFile;
using kvtest::TempDir;
using kvtest::writeFile;

// Runs `f` and returns the code and caption of the swCFileError it throws.
template <typename F>
std::pair<int, std::string> fileErrorOf(F f) {
    try {
        f();
    } catch (const swCFileError& e) {
        return {e.code, e.caption};
    }
    ADD_FAILURE() << "no swCFileError was thrown";
    return {-1, {}};
}

size_t openDescriptors() {
    size_t n = 0;
    if (DIR* d = opendir("/proc/self/fd")) {
        while (readdir(d)) ++n;
        closedir(d);
    }
    return n;
}

// The names in a folder, sorted.
std::vector<std::string> folderEntries(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* d = opendir(folder.c_str())) {
        while (const dirent* e = readdir(d)) {
            std::string n = e->d_name;
            if (n != "." && n != "..") names.push_back(n);
        }
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(DiskFileOpen, MissingFileForReadingIsReportedWithItsPath) {
    TempDir dir;
    const std::string path = dir.file("missing.kvn");
    DiskFile f;
    try {
        f.open(path, DiskFile::Read);
        FAIL() << "opening a missing file succeeded";
    } catch (const swCError& e) {  // callers catch the base class
        EXPECT_EQ(e.code, swCFileError::Open);
        EXPECT_EQ(e.caption, path);
        RecordingPrompter rec;
        ScopedPrompter guard(&rec);
        e.report();
        ASSERT_EQ(rec.seen.size(), 1u);
        EXPECT_EQ(rec.seen[0].text, "ファイルのオープンに失敗しました");
        EXPECT_EQ(rec.seen[0].caption, path);
        EXPECT_EQ(rec.seen[0].buttons, PromptButtons::Ok);
    }
    EXPECT_FALSE(f.isOpen());
}

TEST(DiskFileOpen, DirectoryAndUnknownModeAreOpenFailures) {
    TempDir dir;
    EXPECT_EQ(fileErrorOf([&] { DiskFile().open(dir.path(), DiskFile::Read); }),
              std::make_pair(0, dir.path()));
    EXPECT_EQ(fileErrorOf([&] { DiskFile().open(dir.path(), DiskFile::Update); }).first, 0);
    EXPECT_EQ(fileErrorOf([&] { DiskFile().open(dir.file("a"), 4); }).first, 0);
    EXPECT_FALSE(fileExists(dir.file("a")));
}

TEST(DiskFileOpen, OnlyRegularFilesOpenAndOpeningNeverWaits) {
    TempDir dir;
    const std::string fifo = dir.file("cstmcl.dat");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    // Held open for writing with data waiting, so that a reader which took the pipe for a
    // file would go on reading it here instead of blocking the test.
    const int holder = ::open(fifo.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::write(holder, std::string(96, 'x').data(), 96), 96);
    for (int mode : {DiskFile::Read, DiskFile::Create, DiskFile::Write, DiskFile::Update})
        EXPECT_EQ(fileErrorOf([&] { DiskFile().open(fifo, mode); }), std::make_pair(0, fifo))
            << "mode " << mode;
    EXPECT_EQ(readWholeFile(fifo, 100), std::nullopt);
    EXPECT_EQ(openRegularFile(fifo), -1);
    ::close(holder);
    const std::string device = "/dev/null";
    EXPECT_EQ(fileErrorOf([&] { DiskFile().open(device, DiskFile::Read); }),
              std::make_pair(0, device));
    EXPECT_EQ(openRegularFile(device), -1);
    EXPECT_EQ(openRegularFile(dir.path()), -1);

    // A link to a file is read through, and what is handed out reads normally (blocking).
    writeFile(dir.file("real.dat"), "abc");
    ASSERT_EQ(symlink(dir.file("real.dat").c_str(), dir.file("link.dat").c_str()), 0);
    const int fd = openRegularFile(dir.file("link.dat"));
    ASSERT_GE(fd, 0);
    EXPECT_EQ(fcntl(fd, F_GETFL) & O_NONBLOCK, 0);
    EXPECT_NE(fcntl(fd, F_GETFD) & FD_CLOEXEC, 0);
    ::close(fd);
    EXPECT_EQ(readWholeFile(dir.file("link.dat"), 3), "abc");
}

TEST(DiskFileOpen, CreateTruncatesAndWriteKeepsTheRest) {
    TempDir dir;
    const std::string path = dir.file("f.bin");
    writeFile(path, "0123456789");
    {
        DiskFile f;
        f.open(path, DiskFile::Write);
        f.write("ab", 2);
    }
    EXPECT_EQ(readFile(path), "ab23456789");
    {
        DiskFile f;
        f.open(path, DiskFile::Create);
        EXPECT_EQ(f.size(), 0);
        f.write("xyz", 3);
    }
    EXPECT_EQ(readFile(path), "xyz");
}

TEST(DiskFileOpen, WritingModesCreateMissingFiles) {
    TempDir dir;
    for (int mode : {DiskFile::Create, DiskFile::Write, DiskFile::Update}) {
        const std::string path = dir.file("new" + std::to_string(mode));
        DiskFile f;
        f.open(path, mode);
        EXPECT_TRUE(f.isOpen());
        EXPECT_TRUE(fileExists(path)) << "mode " << mode;
    }
}

TEST(DiskFileOpen, UpdateReadsAndWritesTheSameFile) {
    TempDir dir;
    const std::string path = dir.file("u.bin");
    writeFile(path, "hello");
    DiskFile f;
    f.open(path, DiskFile::Update);
    char buf[5];
    ASSERT_EQ(f.read(buf, 5), 5u);
    EXPECT_EQ(std::string(buf, 5), "hello");
    f.write("!", 1);
    f.close();
    EXPECT_EQ(readFile(path), "hello!");
}

TEST(DiskFileIo, ShortReadAtEndOfFileIsNotAnError) {
    TempDir dir;
    const std::string path = dir.file("short.bin");
    writeFile(path, "abc");
    DiskFile f;
    f.open(path, DiskFile::Read);
    char buf[16] = {};
    EXPECT_EQ(f.read(buf, sizeof buf), 3u);
    EXPECT_EQ(std::string(buf, 3), "abc");
    EXPECT_EQ(f.read(buf, sizeof buf), 0u);
}

TEST(DiskFileIo, SeekReturnsTheNewPositionFromEachOrigin) {
    TempDir dir;
    const std::string path = dir.file("seek.bin");
    writeFile(path, "0123456789");
    DiskFile f;
    f.open(path, DiskFile::Read);
    EXPECT_EQ(f.size(), 10);
    EXPECT_EQ(f.seek(4, DiskFile::Begin), 4);
    EXPECT_EQ(f.seek(2, DiskFile::Current), 6);
    EXPECT_EQ(f.seek(-3, DiskFile::End), 7);
    char c = 0;
    ASSERT_EQ(f.read(&c, 1), 1u);
    EXPECT_EQ(c, '7');
    EXPECT_EQ(fileErrorOf([&] { f.seek(-1, DiskFile::Begin); }), std::make_pair(3, std::string()));
    EXPECT_EQ(fileErrorOf([&] { f.seek(0, 3); }).first, 3);
}

TEST(DiskFileIo, WrongDirectionsFailWithTheirCodes) {
    TempDir dir;
    const std::string path = dir.file("dir.bin");
    writeFile(path, "data");
    DiskFile reader;
    reader.open(path, DiskFile::Read);
    EXPECT_EQ(fileErrorOf([&] { reader.write("x", 1); }), std::make_pair(2, std::string()));
    DiskFile writer;
    writer.open(path, DiskFile::Write);
    char c;
    EXPECT_EQ(fileErrorOf([&] { writer.read(&c, 1); }), std::make_pair(1, std::string()));
}

TEST(DiskFileIo, ClosedFileFailsEveryOperation) {
    DiskFile f;
    char c;
    EXPECT_EQ(fileErrorOf([&] { f.read(&c, 1); }).first, swCFileError::Read);
    EXPECT_EQ(fileErrorOf([&] { f.write(&c, 1); }).first, swCFileError::Write);
    EXPECT_EQ(fileErrorOf([&] { f.seek(0, 0); }).first, swCFileError::Seek);
    EXPECT_EQ(fileErrorOf([&] { f.size(); }).first, swCFileError::Size);
    EXPECT_NO_THROW(f.close());
}

TEST(DiskFileIo, DestructorAndReopeningReleaseTheHandle) {
    TempDir dir;
    const std::string path = dir.file("h.bin");
    writeFile(path, "x");
    const size_t before = openDescriptors();
    {
        DiskFile f;
        f.open(path, DiskFile::Read);
        f.open(path, DiskFile::Read);  // closes the first handle
        EXPECT_EQ(openDescriptors(), before + 1);
    }
    EXPECT_EQ(openDescriptors(), before);
}

TEST(FileExists, OnlyFilesCount) {
    TempDir dir;
    writeFile(dir.file("a.txt"), "");
    EXPECT_TRUE(fileExists(dir.file("a.txt")));
    EXPECT_FALSE(fileExists(dir.file("b.txt")));
    EXPECT_FALSE(fileExists(dir.path()));
    EXPECT_FALSE(fileExists(""));
}

TEST(WriteFileAtomically, ReplacesContentAndLeavesNoTemporaryFile) {
    TempDir dir;
    const std::string path = dir.file("s.ini");
    writeFileAtomically(path, "first");
    writeFileAtomically(path, std::string("se\0cond", 7));
    EXPECT_EQ(readFile(path), std::string("se\0cond", 7));
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"s.ini"});
}

TEST(WriteFileAtomically, KeepsPermissionsAndWritesThroughLinks) {
    TempDir dir;
    const std::string real = dir.file("real.ini");
    const std::string link = dir.file("link.ini");
    writeFile(real, "old");
    chmod(real.c_str(), 0640);
    ASSERT_EQ(symlink(real.c_str(), link.c_str()), 0);
    writeFileAtomically(link, "new");
    struct stat st;
    ASSERT_EQ(lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(readFile(real), "new");
    ASSERT_EQ(stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(WriteFileAtomically, FailureThrowsWriteErrorAndKeepsWhatWasThere) {
    TempDir dir;
    const std::string missingFolder = dir.file("no/such/file.ini");
    EXPECT_EQ(fileErrorOf([&] { writeFileAtomically(missingFolder, "x"); }),
              std::make_pair(2, missingFolder));
    // A folder in the way cannot be replaced by a file.
    const std::string busy = dir.file("busy");
    mkdir(busy.c_str(), 0755);
    writeFile(busy + "/keep", "kept");
    EXPECT_EQ(fileErrorOf([&] { writeFileAtomically(busy, "x"); }).first, 2);
    EXPECT_EQ(readFile(busy + "/keep"), "kept");
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"busy"});
}

TEST(WriteFileAtomically, TemporariesAreExclusiveAndOnlyOurStaleOnesAreCleaned) {
    TempDir dir;
    const std::string folder = dir.file("maps");
    mkdir(folder.c_str(), 0755);
    const std::string path = folder + "/s.ini";
    const std::string outside = dir.file("outside.txt");
    writeFile(outside, "keep");
    // What an interrupted save leaves (the first), and things that only look like it.
    writeFile(folder + "/.s.ini.kvtmp.Ab3dE9", "stale");
    writeFile(folder + "/.s.ini.kvtmp.Ab3dE", "short");
    writeFile(folder + "/.s.ini.kvtmp.Ab3d-9", "not ours");
    writeFile(folder + "/.t.ini.kvtmp.Ab3dE9", "another target's");
    mkdir((folder + "/.s.ini.kvtmp.Folder").c_str(), 0755);
    for (const char* link : {"/.s.ini.kvtmp", "/.s.ini.kvtmp.LinkEd", "/.s.ini.XXXXXX"})
        ASSERT_EQ(symlink(outside.c_str(), (folder + link).c_str()), 0);

    // Two saves in progress: distinct names of the pattern, private, and neither cleaned.
    std::string first, second;
    const int firstFd = createTemporaryBeside(path, first);
    const int secondFd = createTemporaryBeside(path, second);
    ASSERT_GE(firstFd, 0);
    ASSERT_GE(secondFd, 0);
    EXPECT_NE(first, second);
    for (const std::string& temp : {first, second}) {
        ASSERT_EQ(temp.size(), folder.size() + 20) << temp;
        EXPECT_EQ(temp.substr(0, folder.size() + 14), folder + "/.s.ini.kvtmp.");
        struct stat st;
        ASSERT_EQ(lstat(temp.c_str(), &st), 0);
        EXPECT_TRUE(S_ISREG(st.st_mode));
        EXPECT_EQ(st.st_mode & 0777, 0600u);
    }
    ::close(secondFd);  // the second save died

    writeFileAtomically(path, "new");
    EXPECT_EQ(readFile(path), "new");
    EXPECT_EQ(readFile(outside), "keep");
    std::vector<std::string> expected = {".s.ini.XXXXXX",
                                         ".s.ini.kvtmp",
                                         ".s.ini.kvtmp.Ab3d-9",
                                         ".s.ini.kvtmp.Ab3dE",
                                         ".s.ini.kvtmp.Folder",
                                         ".s.ini.kvtmp.LinkEd",
                                         ".t.ini.kvtmp.Ab3dE9",
                                         first.substr(folder.size() + 1),
                                         "s.ini"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(folderEntries(folder), expected);

    ::close(firstFd);
    writeFileAtomically(path, "newer");
    expected.erase(std::find(expected.begin(), expected.end(), first.substr(folder.size() + 1)));
    EXPECT_EQ(folderEntries(folder), expected);
    EXPECT_EQ(readFile(outside), "keep");
}

TEST(ReadWholeFile, ReadsUpToTheLimitOnly) {
    TempDir dir;
    const std::string path = dir.file("r.bin");
    const std::string content(100000, 'z');
    writeFile(path, content);
    EXPECT_EQ(readWholeFile(path, 100000), content);
    EXPECT_EQ(readWholeFile(path, 99999), std::nullopt);
    writeFile(path, "");
    EXPECT_EQ(readWholeFile(path, 0), "");
    EXPECT_EQ(readWholeFile(dir.file("none"), 100), std::nullopt);
    EXPECT_EQ(readWholeFile(dir.path(), 100), std::nullopt);
}

TEST(FindFileCaseInsensitive, FindsFoldersAndFilesCopiedWithAnotherCase) {
    TempDir dir;
    mkdir(dir.file("BMP").c_str(), 0755);
    writeFile(dir.file("BMP/Land48_Base.BMP"), "bmp");
    EXPECT_EQ(findFileCaseInsensitive(dir.file("bmp/land48_base.bmp")),
              dir.file("BMP/Land48_Base.BMP"));
    EXPECT_EQ(findFileCaseInsensitive(dir.file("bmp/")), dir.file("BMP/"));
    EXPECT_EQ(findFileCaseInsensitive(dir.file("BMP/Land48_Base.BMP")),
              dir.file("BMP/Land48_Base.BMP"));
}

TEST(FindFileCaseInsensitive, MissingPathsComeBackUnchanged) {
    TempDir dir;
    mkdir(dir.file("BMP").c_str(), 0755);
    EXPECT_EQ(findFileCaseInsensitive(dir.file("bmp/none.bmp")), dir.file("bmp/none.bmp"));
    EXPECT_EQ(findFileCaseInsensitive(dir.file("x/bmp")), dir.file("x/bmp"));
    // Only letters fold: '@' and '`' differ by the same bit as 'A' and 'a'.
    writeFile(dir.file("BMP/a@b.bmp"), "");
    EXPECT_EQ(findFileCaseInsensitive(dir.file("bmp/A`B.bmp")), dir.file("bmp/A`B.bmp"));
    EXPECT_EQ(findFileCaseInsensitive(dir.file("bmp/A@B.bmp")), dir.file("BMP/a@b.bmp"));
    EXPECT_EQ(findFileCaseInsensitive(""), "");
}

TEST(FindFileCaseInsensitive, ChoosesTheSameEntryAmongSeveralMatches) {
    TempDir dir;
    writeFile(dir.file("a.TXT"), "");
    writeFile(dir.file("A.txt"), "");
    EXPECT_EQ(findFileCaseInsensitive(dir.file("a.txt")), dir.file("A.txt"));
}

}  // namespace
}  // namespace kv
