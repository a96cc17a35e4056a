#include "lists/translate.h"

#include <algorithm>
#include <cstddef>
#include <tuple>

#include "lists/catalogue_table.h"

namespace quendal {

namespace {

constexpr std::string_view kRussianCode = "ru";
constexpr std::string_view kRussianName = "Русский";

std::optional<int> CatalogueOf(std::string_view code) {
    const auto all = catalogue::All();
    for (size_t i = 0; i < all.size(); ++i)
        if (all[i].code == code)
            return static_cast<int>(i);
    return std::nullopt;
}

} // namespace

Language Language::English() {
    static const Language english(*CatalogueOf("en"));
    return english;
}

std::optional<Language> Language::OfCode(std::string_view code) {
    if (code == kRussianCode)
        return Language();
    if (const std::optional<int> catalogue = CatalogueOf(code))
        return Language(*catalogue);
    return std::nullopt;
}

std::vector<Language> Language::All() {
    std::vector<Language> all = {Language()};
    for (size_t i = 0; i < catalogue::All().size(); ++i)
        all.push_back(Language(static_cast<int>(i)));
    return all;
}

Language Language::ForLocale(std::string_view locale) {
    // "ll_CC.codeset@modifier" or "ll-CC": the language is what comes before them.
    const std::string_view language = locale.substr(0, locale.find_first_of("_-.@"));
    if (language.empty() || language == "C" || language == "POSIX")
        return Language();
    std::string lower(language);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(c | 0x20); });
    return OfCode(lower).value_or(English());
}

std::string_view Language::Code() const {
    return IsRussian() ? kRussianCode : catalogue::All()[static_cast<size_t>(catalogue_)].code;
}

std::string_view Language::Name() const {
    return Translate(*this, kRussianName, "Language");
}

std::string_view Translate(Language language, std::string_view source, std::string_view context) {
    if (language.IsRussian())
        return source;
    const auto entries = catalogue::All()[static_cast<size_t>(language.catalogue_)].entries;
    const auto key = std::tie(context, source);
    const auto found = std::lower_bound(
        entries.begin(), entries.end(), key,
        [](const catalogue::Entry& e, const auto& k) { return std::tie(e.context, e.source) < k; });
    if (found == entries.end() || found->context != context || found->source != source)
        return source;
    return found->translation;
}

namespace {

template <typename Args> std::string SubstituteAll(std::string_view text, const Args& args) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const size_t n = i + 1 < text.size() ? static_cast<size_t>(text[i + 1] - '1') : 9;
        if (text[i] == '%' && n < args.size()) {
            out += args.begin()[n];
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace

std::string Substitute(std::string_view text, std::initializer_list<std::string_view> args) {
    return SubstituteAll(text, args);
}

std::string Substitute(std::string_view text, const std::vector<std::string>& args) {
    return SubstituteAll(text, args);
}

std::string Tr(Language language, std::string_view source,
               std::initializer_list<std::string_view> args) {
    return Substitute(Translate(language, source), args);
}

} // namespace quendal
