#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace quendal {

// The temporary file of this process, removed when the process ends.
struct FuzzFilePath {
    std::string path;
    ~FuzzFilePath() { std::remove(path.c_str()); }
};

// Writes the fuzzer's bytes to one temporary file per process and returns its path.
inline const std::string& WriteFuzzFile(const uint8_t* data, size_t size, const char* suffix) {
    static const FuzzFilePath temp{"/tmp/quendal-fuzz-" + std::to_string(::getpid()) + suffix};
    const std::string& path = temp.path;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        __builtin_trap();
    if (size > 0 && std::fwrite(data, 1, size, file) != size)
        __builtin_trap();
    std::fclose(file);
    return path;
}

} // namespace quendal
