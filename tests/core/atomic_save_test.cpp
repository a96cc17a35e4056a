// The atomic save: a file replaced whole or not at all, with the permissions it had, also when
// the disk cuts writes short, interrupts them or fails to sync.
#include "io/atomic_save.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <utility>
#include <vector>

#include "io/file_bytes.h"
#include "tests/core/temp_file.h"

#if defined(__linux__) && !defined(__EMSCRIPTEN__)
#include <sys/syscall.h>
#include <unistd.h>

// Faults a disk may give, put into the save's system calls. These definitions take the place of
// the C library's for the whole test program; they pass every call through until a test arms
// them.
namespace {
int writeLimit = 0; // bytes a write takes at most; 0: any; -1: none, as a full disk
int failNext = 0;   // the next write fails with this error before writing
int syncError = 0;  // fsync fails with this error
int umaskCalls = 0; // calls of umask, which sets the mask of every thread
} // namespace

extern "C" ssize_t write(int fd, const void* data, size_t size) {
    if (failNext != 0) {
        errno = failNext;
        failNext = 0;
        return -1;
    }
    if (writeLimit < 0)
        return 0;
    if (writeLimit > 0 && size > static_cast<size_t>(writeLimit))
        size = static_cast<size_t>(writeLimit);
    return syscall(SYS_write, fd, data, size);
}

extern "C" int fsync(int fd) {
    if (syncError != 0) {
        errno = syncError;
        return -1;
    }
    return static_cast<int>(syscall(SYS_fsync, fd));
}

extern "C" mode_t umask(mode_t mask) {
    ++umaskCalls;
    return static_cast<mode_t>(syscall(SYS_umask, mask));
}
#endif

namespace quendal {
namespace {

namespace fs = std::filesystem;

// A save replaces the file whole, keeps the permissions of the file it replaces (a new file
// gets those of an ordinary new file), and a failed one says why and leaves the old file.
TEST(AtomicSave, ReplacesWholeKeepsPermissionsAndFailsCleanly) {
    const TempFile old("old", ".cal");
    fs::permissions(old.path(), fs::perms(0751));
    ASSERT_FALSE(SaveFileAtomically(old.path(), "new"));
    EXPECT_EQ(ReadFileBytes(old.path()), "new");
    EXPECT_EQ(fs::status(old.path()).permissions() & fs::perms::all, fs::perms(0751));

    const std::string fresh = old.path() + ".new";
    const mode_t mask = umask(022);
    EXPECT_FALSE(SaveFileAtomically(fresh, "x"));
    EXPECT_EQ(umask(mask), 022); // the process's mask is left as it was
    EXPECT_EQ(fs::status(fresh).permissions() & fs::perms::all, fs::perms(0644));
    fs::remove(fresh);

    EXPECT_TRUE(SaveFileAtomically(old.path() + "/inside.cal", "x")); // a file is no folder
    EXPECT_EQ(ReadFileBytes(old.path()), "new");
}

// A save through a symbolic link writes the file the link leads to, and the link stays a link:
// a link to another folder, a chain of two (the last one absolute), and a link whose target is
// not there yet. A loop of links is refused and changes nothing. Nothing is left beside either.
TEST(AtomicSave, WritesThroughSymbolicLinks) {
    const fs::path dir =
        fs::temp_directory_path() / ("quendal-links-" + std::to_string(::getpid()));
    struct Case {
        std::vector<std::pair<std::string, std::string>> links; // the first is saved; @: dir
        std::string target;                                     // empty: the save fails
        bool there;                                             // the target is there, 0640
    } cases[] = {
        {{{"links/a.cal", "../real/a.cal"}}, "real/a.cal", true},
        {{{"links/b.cal", "c.cal"}, {"links/c.cal", "@/real/b.cal"}}, "real/b.cal", true},
        {{{"links/d.cal", "../real/d.cal"}}, "real/d.cal", false},
        {{{"links/e.cal", "f.cal"}, {"links/f.cal", "e.cal"}}, "", false},
    };
    for (const Case& c : cases) {
        const std::string target = (dir / c.target).string(), what = c.links[0].second;
        fs::remove_all(dir);
        fs::create_directories(dir / "real");
        fs::create_directory(dir / "links");
        if (c.there) {
            std::ofstream(target) << "old";
            fs::permissions(target, fs::perms(0640));
        }
        for (const auto& [link, to] : c.links)
            fs::create_symlink(to[0] == '@' ? dir.string() + to.substr(1) : to, dir / link);
        EXPECT_EQ(SaveFileAtomically((dir / c.links[0].first).string(), "new").has_value(),
                  c.target.empty())
            << what;
        for (const auto& link : c.links)
            EXPECT_TRUE(fs::is_symlink(dir / link.first)) << what;
        if (!c.target.empty()) {
            EXPECT_EQ(ReadFileBytes(target), "new") << what;
            EXPECT_TRUE(!c.there ||
                        (fs::status(target).permissions() & fs::perms::all) == fs::perms(0640))
                << what;
        }
        // Nothing else in the two folders.
        EXPECT_EQ(std::distance(fs::recursive_directory_iterator(dir), {}),
                  static_cast<std::ptrdiff_t>(2 + c.links.size() + !c.target.empty()))
            << what;
    }
    fs::remove_all(dir);
}

#if defined(__linux__) && !defined(__EMSCRIPTEN__)
// A new file gets 0666 less the process's mask, which the save reads without setting it: for a
// moment it would be every thread's.
TEST(AtomicSave, NewFileModeComesFromTheMaskLeftAlone) {
    const TempFile file("", ".cal");
    const std::string fresh = file.path() + ".new";
    const mode_t before = umask(022);
    for (const mode_t mask : {022, 027, 077}) {
        umask(mask);
        umaskCalls = 0;
        EXPECT_FALSE(SaveFileAtomically(fresh, "x"));
        EXPECT_EQ(umaskCalls, 0) << mask;
        EXPECT_EQ(fs::status(fresh).permissions() & fs::perms::all, fs::perms(0666 & ~mask))
            << mask;
        fs::remove(fresh);
    }
    umask(before);
}

TEST(AtomicSave, WritesCutShortOrInterruptedSaveTheWholeText) {
    const TempFile file("cut", ".cal");
    std::string text;
    for (int i = 0; i < 300; ++i)
        text += std::to_string(i) + ',';
    writeLimit = 7;
    failNext = EINTR;
    const std::optional<std::string> error = SaveFileAtomically(file.path(), text);
    writeLimit = 0;
    EXPECT_FALSE(error) << *error;
    EXPECT_EQ(ReadFileBytes(file.path()), text);
}

// A write or sync that fails says why, and a disk that takes no more bytes says it is full
// (the save does not try for ever, nor names an error an earlier call left); each leaves the
// old file and nothing beside it.
TEST(AtomicSave, AFailedWriteOrSyncIsToldAndLeavesTheOldFileAlone) {
    const fs::path folder =
        fs::temp_directory_path() / ("quendal-fault-" + std::to_string(::getpid()));
    fs::create_directory(folder);
    const std::string file = (folder / "a.cal").string();
    ASSERT_FALSE(SaveFileAtomically(file, "old"));
    struct Fault {
        int* knob;
        int value;
        int error;
    } faults[] = {{&failNext, EIO, EIO}, {&writeLimit, -1, ENOSPC}, {&syncError, EIO, EIO}};
    for (const Fault& f : faults) {
        *f.knob = f.value;
        errno = EINTR;
        const std::optional<std::string> error = SaveFileAtomically(file, "new");
        failNext = writeLimit = syncError = 0;
        EXPECT_EQ(error, std::string(std::strerror(f.error)));
        EXPECT_EQ(ReadFileBytes(file), "old");
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
    }
    fs::remove_all(folder);
}
#endif

} // namespace
} // namespace quendal
