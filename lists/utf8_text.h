#pragma once

#include <cstddef>
#include <string_view>

namespace quendal {

// Counting in UTF-8 text, for field widths that count letters rather than bytes.

// Number of code points of valid UTF-8 text.
size_t Utf8Length(std::string_view text);

// The first `count` code points of valid UTF-8 text.
std::string_view Utf8Prefix(std::string_view text, size_t count);

} // namespace quendal
