#pragma once

#include <span>
#include <string_view>

namespace quendal::catalogue {

// One translated text of a catalogue: its context, its Russian source and the translation.
struct Entry {
    std::string_view context, source, translation;
};

// A language's catalogue: its code ("en") and its entries ordered by context, then source,
// byte by byte.
struct Catalogue {
    std::string_view code;
    std::span<const Entry> entries;
};

// Every catalogue the build made from i18n/quendal_<code>.ts, ordered by code.
std::span<const Catalogue> All();

} // namespace quendal::catalogue
