#include "io/profile.h"

#include <gtest/gtest.h>

#include <string>

namespace quendal {
namespace {

TEST(ProfileFile, LexicalRules) {
    const ProfileFile profile = ProfileFile::Parse("\xEF\xBB\xBF"
                                                   "; leading comment\r\n"
                                                   "[Step1]\r\n"
                                                   "RaceName =  Quoted Folk  \r\n"
                                                   "[ step2 ]\r\n"
                                                   "# another comment\r\n"
                                                   "line without equals\r\n"
                                                   "  Env0Min\t=\t15 \r\n"
                                                   "Env0Max=\"86\"\r\n"
                                                   "Env1Min='  7 '\r\n"
                                                   "Env1Max=\"mismatched'\r\n"
                                                   "Env2Min=\r\n"
                                                   "Env2Max=a=b\r\n"
                                                   "env0min=99\r\n"
                                                   "[STEP2]\r\n"
                                                   "MaxGrowthYRate=17\r\n"
                                                   "[Other]\r\n"
                                                   "Key=other");
    struct Case {
        const char* section;
        const char* key;
        const char* expected; // nullptr: missing
    };
    const Case cases[] = {
        {"Step1", "RaceName", "Quoted Folk"},
        {"STEP1", "racename", "Quoted Folk"},
        {"Step2", "Env0Min", "15"}, // the first of two occurrences
        {"Step2", "Env0Max", "86"},
        {"Step2", "Env1Min", "  7 "}, // blanks inside quotes stay
        {"Step2", "Env1Max", "\"mismatched'"},
        {"Step2", "Env2Min", ""},
        {"Step2", "Env2Max", "a=b"},
        {"Step2", "MaxGrowthYRate", "17"}, // a repeated section adds its keys
        {"Other", "Key", "other"},         // last line without a line feed
        {"Step1", "line without equals", nullptr},
        {"Step3", "Env0Min", nullptr},
        {"Step1", "Env0Min", nullptr},
    };
    for (const Case& c : cases) {
        const auto found = profile.Find(c.section, c.key);
        if (c.expected) {
            ASSERT_TRUE(found.has_value()) << c.section << "/" << c.key;
            EXPECT_EQ(*found, c.expected) << c.section << "/" << c.key;
        } else {
            EXPECT_FALSE(found.has_value()) << c.section << "/" << c.key;
        }
    }
}

TEST(ProfileFile, KeysBeforeAnySectionAreIgnored) {
    const ProfileFile profile = ProfileFile::Parse("Env0Min=5\n[Step2]\nEnv0Max=6\n");
    EXPECT_FALSE(profile.Find("", "Env0Min").has_value());
    EXPECT_EQ(profile.Find("Step2", "Env0Max").value_or("missing"), "6");
}

TEST(ProfileFile, ReadCutsValueAndDefault) {
    const ProfileFile profile = ProfileFile::Parse("[S]\nLong=1234567890123\nShort=12\n");
    EXPECT_EQ(profile.Read("S", "Long", "0", 10), "123456789");
    EXPECT_EQ(profile.Read("S", "Short", "0", 10), "12");
    EXPECT_EQ(profile.Read("S", "Missing", "-", 50), "-");
    EXPECT_EQ(profile.Read("S", "Missing", "abcdef", 4), "abc");
    EXPECT_EQ(profile.Read("S", "Long", "0", 0), "");
}

TEST(ProfileFile, NulEndsTheText) {
    const ProfileFile profile = ProfileFile::Parse(std::string("[S]\nA=1\0\nB=2\n", 12));
    EXPECT_EQ(profile.Find("S", "A").value_or("missing"), "1");
    EXPECT_FALSE(profile.Find("S", "B").has_value());
}

} // namespace
} // namespace quendal
