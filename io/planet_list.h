#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/calc_model.h"
#include "model/planet_rules.h"

namespace quendal {

// A planet list as read: the planets and their drop-down texts (UTF-8), in file order.
struct PlanetList {
    std::vector<PlanetEntry> planets;
    std::vector<std::string> entries;
};

// Parses the bytes of a tab-separated planet list. Each planet's factors are derived from
// its stated habitability for `race` by the worst-factor algorithm. Each field is decoded
// before it is used in a text; the name is cut to 50 characters and the whole entry text to
// 99, counting characters of the decoded text. Never fails: any bytes give a list, maybe
// empty.
PlanetList ParsePlanetList(std::string_view bytes, const RaceParams& race);

// An entry text as shown in `language`: the words the reader puts after the planet's name
// (", необитаемая" in the eight-column layout, ", обитаемая" in the twenty-column one) in that
// language. The entry itself stays as the reader made it, which calculation files keep.
std::string ShownEntry(std::string_view entry, Language language);

} // namespace quendal
