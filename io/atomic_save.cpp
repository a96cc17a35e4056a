#include "io/atomic_save.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace quendal {

std::optional<std::string> SaveFileAtomically(const std::string& path, std::string_view bytes) {
    // Beside the file, so that the rename stays on its file system.
    std::string temp =
        (std::filesystem::path(path).parent_path() / ".quendal-save-XXXXXX").string();
    const int fd = mkstemp(temp.data());
    if (fd < 0)
        return std::strerror(errno);
    struct stat old;
    mode_t mode = umask(0);
    umask(mode);
    mode = stat(path.c_str(), &old) == 0 ? old.st_mode & 07777 : 0666 & ~mode;
    fchmod(fd, mode);
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
    if (!error && std::rename(temp.c_str(), path.c_str()) != 0)
        error = errno;
    if (!error)
        return std::nullopt;
    unlink(temp.c_str());
    return std::strerror(error);
}

} // namespace quendal
