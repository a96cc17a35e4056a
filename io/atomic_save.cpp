#include "io/atomic_save.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace quendal {

namespace {

namespace fs = std::filesystem;

// The most links a chain may hold before it counts as a loop, as the system counts.
constexpr int kMaxLinks = 40;

// The file a save replaces: `path`, or the end of its chain of symbolic links (there or not),
// each relative link taken from its own folder. Empty for a chain that does not end.
fs::path SaveTarget(const std::string& path) {
    fs::path target = path;
    for (int links = 0; links <= kMaxLinks; ++links) {
        std::error_code failed;
        if (!fs::is_symlink(fs::symlink_status(target, failed)))
            return target;
        const fs::path next = fs::read_symlink(target, failed);
        if (failed)
            return target;
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return {};
}

// The process's file mode creation mask, read without setting it: set, even for a moment, it
// would be every thread's. Linux tells it in /proc/self/status; where there is none
// (WebAssembly in a browser, whose files the mask does not reach) it is set and set back, one
// save at a time.
mode_t CurrentUmask() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("Umask:", 0) == 0) {
            char* end = nullptr;
            const unsigned long mask = std::strtoul(line.c_str() + 6, &end, 8);
            if (end != line.c_str() + 6)
                return static_cast<mode_t>(mask & 0777);
        }
    static std::mutex lock;
    const std::lock_guard<std::mutex> held(lock);
    const mode_t mask = umask(0);
    umask(mask);
    return mask;
}

} // namespace

std::optional<std::string> SaveFileAtomically(const std::string& path, std::string_view bytes) {
    const fs::path target = SaveTarget(path);
    if (target.empty())
        return std::strerror(ELOOP);
    // Beside the file, so that the rename stays on its file system.
    std::string temp = (target.parent_path() / ".quendal-save-XXXXXX").string();
    const int fd = mkstemp(temp.data());
    if (fd < 0)
        return std::strerror(errno);
    struct stat old;
    fchmod(fd, stat(target.c_str(), &old) == 0 ? old.st_mode & 07777 : 0666 & ~CurrentUmask());
    size_t done = 0;
    int error = 0; // taken where a call fails: errno may hold an earlier call's (stat's)
    while (done < bytes.size()) {
        const ssize_t wrote = write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0) { // a write that takes nothing has a full disk
            error = wrote < 0 ? errno : ENOSPC;
            break;
        }
        done += static_cast<size_t>(wrote);
    }
    if (!error && fsync(fd) != 0)
        error = errno;
    if (close(fd) != 0 && !error)
        error = errno;
    if (!error && std::rename(temp.c_str(), target.c_str()) != 0)
        error = errno;
    if (!error)
        return std::nullopt;
    unlink(temp.c_str());
    return std::strerror(error);
}

} // namespace quendal
