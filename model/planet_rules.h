#pragma once

#include <cstdint>
#include <string>

#include "lists/translate.h"
#include "lists/list_fix.h"
#include "model/calc_model.h"

namespace quendal {

// One planet of a planet list: a plain 48-byte record.
struct PlanetEntry {
    int32_t env[3];     // factors derived from the stated habitability
    int32_t conPrc[3];  // mineral concentrations %
    int32_t mineral[3]; // kT on the surface, at most 32000 each
    int32_t startMen;   // colonists in hundreds
    int32_t fabr;       // installed factories
    int32_t mine;       // installed mines
};
static_assert(sizeof(PlanetEntry) == 48, "planet records are 48 bytes");

using LIST_PLANET = RecordList<PlanetEntry>;

// Homeworlds have at least this mineral concentration.
inline constexpr int32_t kHomeworldConPrc = 15;
// The search simulates at most this many of the planet-dynamics tab's years.
inline constexpr int32_t kMaxSearchInterval = 50;

// Puts a race into the model as loading its file does: the race's values with the optimum
// and half-width derived from its bounds; planet defaults
// (limits 11, concentrations 100, no minerals, not a homeworld, no factories or mines);
// factors by the worst-factor algorithm for the start habitability startPrc, and PlanetPrc as
// they give it; RaceLoaded set.
void ApplyRace(CalcModel& model, const RaceParams& race, int32_t startPrc);

// Clears the race as the race button does: both templates emptied, no installed factories or
// mines, RaceLoaded cleared; all other values stay.
void ClearRace(CalcModel& model);

// Whether the race is immune to factor i: the factor's field holds 102 and cannot be typed
// into, and it is never terraformed. False for an i outside the three factors.
inline bool ImmuneFactor(const RaceParams& race, int i) {
    return i >= 0 && i < 3 && race.EnvOpt[i] == kImmune;
}

// "Оптимум для расы:" of factor i: "Иммунитет", or the optimum and the bounds, "50  <17..67>".
std::string OptimumText(const RaceParams& race, int i, Language language);

// Gives the factors the race is immune to the immune mark and terraforming limit 0, as their
// disabled fields hold them.
void MarkImmuneFactors(const RaceParams& race, PlanetParams& planet);

// Applies a planet of a list to the model as choosing its entry does: factors (102 kept where
// the race is immune), concentrations, minerals, factories, mines and PlanetPrc. Returns the
// planet's colonists in hundreds.
int32_t ApplyPlanet(CalcModel& model, const PlanetEntry& planet);

// The terraforming limit of factor i as the planet keeps it: 0 for a factor holding the
// immune mark.
int32_t TFormLimitOf(const PlanetParams& planet, int i);

// A concentration as a homeworld has it: at least kHomeworldConPrc.
int32_t HomeworldConPrc(int32_t conPrc);

// The highest terraforming limit a limit field offers: kFullTFormLimit with full
// terraforming, kTFormLimit without. A field above it comes down to it when the box changes.
inline constexpr int32_t kTFormLimit = 15;
inline constexpr int32_t kFullTFormLimit = 30;
inline constexpr int32_t TFormLimitMax(bool fullTForm) {
    return fullTForm ? kFullTFormLimit : kTFormLimit;
}

// A factor, or a terraforming limit, typed on the additional-parameters tab: the planet
// takes it and its habitability follows its factors.
void TypePlanetFactor(CalcModel& model, int i, int32_t value);
void TypeTFormLimit(CalcModel& model, int i, int32_t value);

// The years a search simulates for the years of the planet-dynamics tab: at most
// kMaxSearchInterval, at least the 1 year a search interval takes.
int32_t SearchInterval(int32_t years);

} // namespace quendal
