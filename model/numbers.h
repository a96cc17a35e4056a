#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

namespace quendal {

// The one conversion of text to a number used by every reader: skips leading white space,
// takes an optional sign and the decimal digits up to the first other character. Text
// without digits gives 0. Values beyond 32 bits saturate at the limits.
int32_t LeadingInt(std::string_view text);

// The strict conversion: the whole text is an optional sign and decimal digits, nothing
// around them, within 64 bits; anything else gives no value.
std::optional<int64_t> StrictInt(std::string_view text);

// Converts a value to 32 bits, saturating at the limits.
int32_t SaturateInt32(int64_t value);

// Truncates toward zero like a cast, but NaN gives 0 and values beyond 64 bits saturate, so
// no invalid floating-point value reaches an integer conversion. The hardware back-end of
// Extended (model/extended.h) truncates through it; the core itself never uses long double,
// whose format differs between processors. Inline because the
// simulation truncates several times a sub-step: on x86-64 the in-range case uses the
// truncating store of SSE3 (fisttp), which every x86-64 processor still in use has, where a
// plain cast would switch the x87 rounding mode twice.
inline int64_t TruncToInt64(long double value) {
    if (__builtin_fabsl(value) < 9223372036854775808.0L) { // below 2^63
#if defined(__x86_64__) && defined(__GNUC__)
        int64_t result;
        __asm__("fisttpll %0" : "=m"(result) : "t"(value) : "st");
        return result;
#else
        return static_cast<int64_t>(value);
#endif
    }
    if (value != value)
        return 0;
    return value > 0 ? INT64_MAX : INT64_MIN;
}

// The same for a stored double, which truncates exactly without extended precision.
inline int64_t TruncToInt64(double value) {
    if (__builtin_fabs(value) <= 9223372036854774784.0) // the largest double below 2^63
        return static_cast<int64_t>(value);
    if (value != value)
        return 0;
    return value > 0 ? INT64_MAX : INT64_MIN;
}

} // namespace quendal
