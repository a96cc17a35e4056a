#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quendal {

// The program's texts are written in Russian, its own language; each other language is a
// catalogue of translations, i18n/quendal_<code>.ts, from which the build makes the core's
// table (scripts/catalogue.py), the window's .qm and the page's JSON.

// Marks a text that is shown in the reader's language where it is used: the Russian source,
// as the code writes it (the catalogue test finds it by this mark).
constexpr const char* TrNoop(const char* source) {
    return source;
}

// A language the program speaks: Russian, or one of the catalogues' languages.
class Language {
public:
    constexpr Language() = default; // Russian
    static Language English();
    // The language of a code ("ru", "en"); none for a code without a catalogue.
    static std::optional<Language> OfCode(std::string_view code);
    // Russian, then the catalogues' languages.
    static std::vector<Language> All();
    // The language a locale asks for ("ru_RU.UTF-8", "en-US", "de", "C"): Russian for
    // Russian, for C and POSIX and for none at all (the program's own language), the
    // catalogue of its language where there is one, else English.
    static Language ForLocale(std::string_view locale);

    std::string_view Code() const;
    // Its name in itself: "Русский", "English".
    std::string_view Name() const;
    bool IsRussian() const { return catalogue_ < 0; }
    bool operator==(const Language&) const = default;

private:
    explicit constexpr Language(int catalogue) : catalogue_(catalogue) {}
    int catalogue_ = -1; // into catalogue::All()

    friend std::string_view Translate(Language language, std::string_view source,
                                      std::string_view context);
};

// `source` in `language`: the catalogue's translation of that text of `context`, or the
// source itself where there is none (and in Russian).
std::string_view Translate(Language language, std::string_view source,
                           std::string_view context = "Core");

// `text` with %1..%9 replaced by the arguments, in one pass: an argument's own "%2" stays.
std::string Substitute(std::string_view text, std::initializer_list<std::string_view> args);
std::string Substitute(std::string_view text, const std::vector<std::string>& args);

// A text of the core in `language`, its %1..%9 replaced by the arguments.
std::string Tr(Language language, std::string_view source,
               std::initializer_list<std::string_view> args = {});

} // namespace quendal
