#pragma once

#include <string>
#include <string_view>

#include "model/calc_model.h"

namespace quendal {

// What a race description file holds: the race name as shown (UTF-8) and the race's values,
// with the optimum and half-width derived from the bounds.
struct RaceFile {
    std::string name;
    RaceParams race;
};

// Parses the bytes of a race description file. A missing section or key reads as its default
// ("-" for the name, 0 for a number); numbers by their leading integer after a cut to 9
// characters. Never fails: any bytes give a race.
RaceFile ParseRace(std::string_view bytes);

} // namespace quendal
