#include "model/planet_rules.h"

#include <algorithm>
#include <iterator>

#include "model/field_specs.h"
#include "model/habitability.h"

namespace quendal {

// Terraforming available on a freshly loaded planet, per factor.
constexpr int32_t kStartTFormLimit = 11;

void ApplyRace(CalcModel& model, const RaceParams& race, int32_t startPrc) {
    model.Race = race;
    model.Race.DeriveOptimum();
    PlanetParams& planet = model.Planet;
    planet.PlanetHW = false;
    std::fill(std::begin(planet.MaxTFormPrc), std::end(planet.MaxTFormPrc), kStartTFormLimit);
    std::fill(std::begin(planet.PlanetConPrc), std::end(planet.PlanetConPrc), 100);
    std::fill(std::begin(planet.PlanetMineral), std::end(planet.PlanetMineral), 0);
    planet.PlanetFabr = 0;
    planet.PlanetMine = 0;
    EnvForPrc(model.Race, startPrc, planet.PlanetEnv);
    planet.PlanetPrc = CalcPlanetPrc(model.Race, planet.PlanetEnv);
    model.RaceLoaded = true;
}

void ClearRace(CalcModel& model) {
    model.QueueMinus.Clear();
    model.QueuePlus.Clear();
    model.Planet.PlanetFabr = 0;
    model.Planet.PlanetMine = 0;
    model.RaceLoaded = false;
}

int32_t ApplyPlanet(CalcModel& model, const PlanetEntry& planet) {
    PlanetParams& p = model.Planet;
    for (int k = 0; k < 3; ++k) {
        p.PlanetEnv[k] = ImmuneFactor(model.Race, k) ? kImmune : planet.env[k];
        p.PlanetConPrc[k] = planet.conPrc[k];
        p.PlanetMineral[k] = planet.mineral[k];
    }
    p.PlanetFabr = planet.fabr;
    p.PlanetMine = planet.mine;
    p.PlanetPrc = CalcPlanetPrc(model.Race, p.PlanetEnv);
    return planet.startMen;
}

void MarkImmuneFactors(const RaceParams& race, PlanetParams& planet) {
    for (int i = 0; i < 3; ++i)
        if (ImmuneFactor(race, i)) {
            planet.PlanetEnv[i] = kImmune;
            planet.MaxTFormPrc[i] = 0;
        }
}

std::string OptimumText(const RaceParams& race, int i, Language language) {
    if (ImmuneFactor(race, i))
        return Tr(language, "Иммунитет");
    return std::to_string(race.EnvOpt[i]) + "  <" + std::to_string(race.EnvMin(i)) + ".." +
           std::to_string(race.EnvMax(i)) + ">";
}

int32_t TFormLimitOf(const PlanetParams& planet, int i) {
    return planet.PlanetEnv[i] == kImmune ? 0 : planet.MaxTFormPrc[i];
}

int32_t HomeworldConPrc(int32_t conPrc) {
    return std::max(conPrc, kHomeworldConPrc);
}

int32_t SearchInterval(int32_t years) {
    // Within what the interval accepts: a calculation of 0 years searches over one.
    return std::clamp(years, static_cast<int32_t>(kSearchYearsField.accepts.lo),
                      kMaxSearchInterval);
}

void TypePlanetFactor(CalcModel& model, int i, int32_t value) {
    model.Planet.PlanetEnv[i] = value;
    model.Planet.PlanetPrc = CalcPlanetPrc(model.Race, model.Planet.PlanetEnv);
}

// The habitability follows the factors alone, which a limit leaves.
void TypeTFormLimit(CalcModel& model, int i, int32_t value) {
    model.Planet.MaxTFormPrc[i] = value;
}

} // namespace quendal
