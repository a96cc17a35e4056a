#include "io/file_bytes.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace quendal {

std::optional<std::string> ReadFileBytes(const std::string& path, size_t maxBytes) {
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                               &std::fclose);
    if (!file)
        return std::nullopt;
    std::string bytes;
    char buffer[8192];
    size_t got;
    while (bytes.size() <= maxBytes &&
           (got = std::fread(buffer, 1, std::min(sizeof buffer, maxBytes + 1 - bytes.size()),
                             file.get())) > 0)
        bytes.append(buffer, got);
    if (std::ferror(file.get()))
        return std::nullopt;
    return bytes;
}

} // namespace quendal
