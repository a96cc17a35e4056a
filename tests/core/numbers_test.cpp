#include "model/numbers.h"

#include <gtest/gtest.h>

namespace quendal {
namespace {

// The strict conversion takes a sign and digits and nothing else: no blanks around them.
TEST(StrictInt, WholeTextOnly) {
    struct Case {
        const char* text;
        std::optional<int64_t> value;
    };
    const Case cases[] = {
        {"25", 25},
        {"+25", 25},
        {"-25", -25},
        {"-9223372036854775808", INT64_MIN},
        {"9223372036854775807", INT64_MAX},
        {"9223372036854775808", std::nullopt},
        {"-9223372036854775809", std::nullopt},
        {" 25", std::nullopt},
        {"25 ", std::nullopt},
        {"12x", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"+-1", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StrictInt(c.text), c.value) << '"' << c.text << '"';
}

} // namespace
} // namespace quendal
