#pragma once

#include <cstddef>
#include <limits>
#include <optional>
#include <string>

namespace quendal {

// The whole content of a file, or nothing when it cannot be opened or read (a missing file,
// a folder, no permission). With `maxBytes`, reading stops after maxBytes + 1 bytes, so that a
// caller can tell a file that is too large without reading all of it.
std::optional<std::string> ReadFileBytes(const std::string& path,
                                         size_t maxBytes = std::numeric_limits<size_t>::max() - 1);

} // namespace quendal
