#pragma once

#include <string>
#include <string_view>

#include "model/calc_model.h"

namespace quendal {

// Loads a race description file into the model as the load button does: race values,
// derived optimum and half-width, planet defaults (limits 11, concentrations 100, no
// minerals, not a homeworld, no factories or mines), PlanetPrc from the start-habitability
// text, factors by the worst-factor algorithm, PlanetPrc as they give it, RaceLoaded set.
// A missing file, section or key reads as its default. Returns the race name (UTF-8).
std::string LoadRace(CalcModel& model, const std::string& path, std::string_view startPrcText);

// Clears the race as the button does: both templates emptied, no installed factories or
// mines, RaceLoaded cleared; all other values stay.
void ClearRace(CalcModel& model);

} // namespace quendal
