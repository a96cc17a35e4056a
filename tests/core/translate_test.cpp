// The core's way to its texts in a language: which language a locale asks for, a text of the
// catalogue and its values.
#include <gtest/gtest.h>

#include "lists/translate.h"

namespace quendal {
namespace {

TEST(Language, OfALocaleOrACodeAndItsName) {
    for (const char* locale : {"ru_RU.UTF-8", "ru", "ru-UA", "RU_ru", "C", "C.UTF-8", "POSIX", ""})
        EXPECT_EQ(Language::ForLocale(locale), Language()) << locale;
    for (const char* locale : {"en_US.UTF-8", "en-GB", "en", "de_DE@euro", "uk_UA.UTF-8", "zz"})
        EXPECT_EQ(Language::ForLocale(locale), Language::English()) << locale;
    EXPECT_EQ(Language::OfCode("ru"), Language());
    EXPECT_EQ(Language::OfCode("en"), Language::English());
    EXPECT_EQ(Language::OfCode("xx"), std::nullopt);
    EXPECT_EQ(Language().Name(), "Русский");
    EXPECT_EQ(Language::English().Name(), "English");
    EXPECT_EQ(Language::All().front(), Language());
}

// Tr is the two in turn (FormatDuration's English forms).
TEST(Translate, TheCataloguesTextOrTheSourceWithValuesInOnePass) {
    EXPECT_EQ(Translate(Language(), "Ирониум"), "Ирониум");
    EXPECT_EQ(Translate(Language::English(), "Ирониум"), "Ironium");
    EXPECT_EQ(Translate(Language::English(), "текст, которого нет в каталоге"),
              "текст, которого нет в каталоге");
    // Each context apart: the page's texts are not the core's.
    EXPECT_EQ(Translate(Language::English(), "Ссылка скопирована"), "Ссылка скопирована");
    // A value's own "%2" stays as it is; a mark without a value too.
    EXPECT_EQ(Substitute("%1 and %2", {"%2", "b"}), "%2 and b");
    EXPECT_EQ(Substitute("%1 %3 %", {"a"}), "a %3 %");
}

} // namespace
} // namespace quendal
