#pragma once

#include <cstdint>
#include <string_view>

namespace quendal {

// The one conversion of text to a number used by every reader: skips leading white space,
// takes an optional sign and the decimal digits up to the first other character. Text
// without digits gives 0. Values beyond 32 bits saturate at the limits.
int32_t LeadingInt(std::string_view text);

// Converts a value to 32 bits, saturating at the limits.
int32_t SaturateInt32(int64_t value);

// Truncates toward zero like a cast, but NaN gives 0 and values beyond 64 bits saturate, so
// no invalid floating-point value reaches an integer conversion.
int64_t TruncToInt64(long double value);

} // namespace quendal
