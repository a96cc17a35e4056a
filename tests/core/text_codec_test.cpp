#include "io/text_codec.h"

#include <gtest/gtest.h>

#include <string>

namespace quendal {
namespace {

TEST(DecodeText, Cp1251OrUtf8) {
    struct Case {
        const char* name;
        std::string bytes, expected;
    };
    const Case cases[] = {
        {"ASCII", "Alpha 45%", "Alpha 45%"},
        {"capitals and small letters", "\xC0\xC1\xC2\xDF\xE0\xFF", "АБВЯая"},
        {"yo", "\xA8\xB8", "Ёё"},
        {"punctuation of the high half", "\x85\x96\x97\xAB\xBB\xB9\x88\x99", "…–—«»№€™"},
        {"Ukrainian and Serbian letters", "\xAA\xBA\xB2\xB3\xAF\xBF\xA5\xB4\x80\x90", "ЄєІіЇїҐґЂђ"},
        {"no-break space and soft hyphen", "\xA0\xAD", "\u00A0\u00AD"},
        {"unassigned byte", "a\x98z", "a\uFFFDz"},
        {"valid UTF-8 kept", "Дельта", "Дельта"},
        {"overlong form is not UTF-8", "\xC0\xAF", "АЇ"},
        {"surrogate is not UTF-8", "\xED\xA0\x80", "н\u00A0Ђ"},
        {"four-byte UTF-8 kept", "\xF0\x9F\x9A\x80", "\xF0\x9F\x9A\x80"},
        {"beyond U+10FFFF is not UTF-8", "\xF4\x90\x80\x80", "ф\u0452\u0402\u0402"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecodeText(c.bytes), c.expected) << c.name;
}

TEST(DecodeCutText, DropsOnlyASplitLastCharacter) {
    EXPECT_EQ(DecodeCutText("ab\xD0\xB6", 3), "ab");         // half of a Cyrillic letter
    EXPECT_EQ(DecodeCutText("ab\xF0\x9F\x9A\x80", 5), "ab"); // three bytes of four
    EXPECT_EQ(DecodeCutText("ab\xF0\x9F\x9A\x80", 6), "ab\xF0\x9F\x9A\x80");
    EXPECT_EQ(DecodeCutText("\xCA\xE2\xE0", 2), "Кв"); // Windows-1251, not a split
    EXPECT_EQ(DecodeCutText("\xD0\xC0\xE0", 2), "РА"); // a broken sequence is no cut
}

TEST(Utf8Prefix, CountsCodePoints) {
    EXPECT_EQ(Utf8Length("ЖaЖ"), 3u);
    EXPECT_EQ(Utf8Prefix("ЖaЖ", 2), "Жa");
    EXPECT_EQ(Utf8Prefix("ЖaЖ", 3), "ЖaЖ");
    EXPECT_EQ(Utf8Prefix("ЖaЖ", 9), "ЖaЖ");
    EXPECT_EQ(Utf8Prefix("ЖaЖ", 0), "");
}

} // namespace
} // namespace quendal
