// What the page shows of the session: the race, the additional parameters with their
// derived fields, both templates, the planet list and the search snapshot.
#include <string>

#include "model/habitability.h"
#include "model/planet_rules.h"
#include "optimiser/genetic_run.h"
#include "web/json_out.h"
#include "web/session.h"

namespace quendal::web {

std::string Session::State() const {
    const RaceParams& race = model_.Race;
    const PlanetParams& planet = model_.Planet;
    JsonOut out;
    out.Begin().Key("raceLoaded").Bool(model_.RaceLoaded);
    out.Key("raceName").String(race_ ? race_->name : "");
    out.Key("racePath").String(race_ ? race_->path : "");
    out.Key("growth").Int(race.MaxGrowthYRate);
    out.Key("planetPrc").Int(planet.PlanetPrc);
    out.Key("tformPrc").Int(CalcTFormPrc(model_, planet.PlanetEnv));
    int32_t economy[7];
    for (int i = 0; i < 7; ++i)
        economy[i] = race.Economy(i);
    out.Key("economy").Ints(economy, 7);
    out.Key("fullTForm").Bool(race.FullTForm);
    out.Key("tformLimitMax").Int(TFormLimitMax(race.FullTForm));
    out.Key("env").Ints(planet.PlanetEnv, 3);
    int32_t limits[3];
    bool immune[3];
    std::vector<std::string> optimum;
    for (int i = 0; i < 3; ++i) {
        limits[i] = TFormLimitOf(planet, i);
        immune[i] = ImmuneFactor(race, i);
        optimum.push_back(OptimumText(race, i));
    }
    out.Key("limits").Ints(limits, 3);
    out.Key("immune").BeginArray().Bool(immune[0]).Bool(immune[1]).Bool(immune[2]).EndArray();
    out.Key("optimum").Strings(optimum);
    out.Key("fabr").Int(planet.PlanetFabr).Key("mine").Int(planet.PlanetMine);
    out.Key("homeworld").Bool(planet.PlanetHW);
    out.Key("conPrc").Ints(planet.PlanetConPrc, 3);
    out.Key("mineral").Ints(planet.PlanetMineral, 3);
    out.Key("minus").Strings(TemplateLines(model_.QueueMinus));
    out.Key("plus").Strings(TemplateLines(model_.QueuePlus));
    out.Key("planets").Strings(list_.entries).Key("chosen").Int(chosenEntry_);
    out.Key("listPath").String(listPath_);
    out.Key("genPlanet").String(GenPlanetText(model_));
    out.Key("searched").Bool(model_.GeneticState.searched);
    return out.End().Text();
}

} // namespace quendal::web
