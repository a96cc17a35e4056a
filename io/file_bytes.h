#pragma once

#include <optional>
#include <string>

namespace quendal {

// The whole content of a file, or nothing when it cannot be opened or read (a missing file,
// a folder, no permission).
std::optional<std::string> ReadFileBytes(const std::string& path);

} // namespace quendal
