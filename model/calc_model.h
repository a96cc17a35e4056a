#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "lists/translate.h"
#include "lists/queue_item.h"

namespace quendal {

// Factor value (or bound) that marks a factor to which the race is immune.
inline constexpr int32_t kImmune = 102;

// The race's environment tolerance and economy, as read from its description file.
struct RaceParams {
    int32_t Env0Min = 0, Env0Max = 0; // gravity bounds
    int32_t Env1Min = 0, Env1Max = 0; // temperature bounds
    int32_t Env2Min = 0, Env2Max = 0; // radiation bounds
    int32_t EnvHalfWidth[3] = {};     // (Max - Min) / 2, truncated
    int32_t EnvOpt[3] = {};           // (Min + Max) / 2, truncated; 102 for an immune factor
    int32_t MaxGrowthYRate = 0;       // growth rate in % a year
    int32_t NColonistYTo1Resource = 0;
    int32_t NResourceYFrom10Factory = 0;
    int32_t NResourceBuildFactory = 0;
    int32_t NFactoryWork10000 = 0;
    int32_t NResourceBuildMine = 0;
    int32_t NMineWork10000 = 0;
    int32_t NMineralYFrom10Mine = 0;
    bool FullTForm = false; // one terraforming step moves all three factors

    // Economy value i (0..6), in the order of the race file's keys above; std::out_of_range
    // for another i.
    int32_t& Economy(int i) {
        const std::array<int32_t*, 7> fields = {&NColonistYTo1Resource, &NResourceYFrom10Factory,
                                                &NResourceBuildFactory, &NFactoryWork10000,
                                                &NResourceBuildMine,    &NMineWork10000,
                                                &NMineralYFrom10Mine};
        return *fields.at(static_cast<size_t>(i));
    }
    int32_t Economy(int i) const { return const_cast<RaceParams*>(this)->Economy(i); }
    int32_t EnvMin(int i) const { return i == 0 ? Env0Min : i == 1 ? Env1Min : Env2Min; }
    int32_t EnvMax(int i) const { return i == 0 ? Env0Max : i == 1 ? Env1Max : Env2Max; }
    // Fills EnvHalfWidth and EnvOpt from the bounds.
    void DeriveOptimum();
    bool operator==(const RaceParams&) const = default;
};

// The planet under study.
struct PlanetParams {
    int32_t PlanetEnv[3] = {};     // gravity, temperature, radiation; 102 = immune
    int32_t PlanetPrc = 100;       // habitability %
    int32_t PlanetConPrc[3] = {};  // mineral concentrations %, Ironium, Uranium, Liberium
    int32_t PlanetMineral[3] = {}; // kT of each mineral on the surface
    int32_t MaxTFormPrc[3] = {};   // terraforming available per factor, in points
    bool PlanetHW = false;         // homeworld: higher floor of mineral concentration
    int32_t PlanetFabr = 0;        // installed factories
    int32_t PlanetMine = 0;        // installed mines
    bool operator==(const PlanetParams&) const = default;
};

// What a search maximises: the items of "Максимизация:" in their order, with their captions.
enum class Criterion : int32_t { Terraforming, Population, Resources, Factories, Mines, Minerals };
inline constexpr const char* kCriterionCaptions[6] = {TrNoop("Терраформинг"), TrNoop("Население"),
                                                      TrNoop("Ресурсы"),      TrNoop("Фабрики"),
                                                      TrNoop("Шахты"),        TrNoop("Минералы")};

// The optimiser's snapshot of the model, its candidate templates and work list, and the
// results of the last headless simulation.
struct s_GeneticState {
    int32_t GenPlanetPrc = 0;
    int32_t GenStartMen = 0; // hundreds of colonists
    int32_t GenMenYearPrc = 0;
    int32_t GenLYear = 0;
    int32_t GenMaxTFormStep = 0;
    int32_t GenPlanetEnv[3] = {};
    int32_t GenTFormTarget[3] = {};
    int32_t GenTFormPrc = 0;
    int32_t GenPlanetFabr = 0;
    int32_t GenPlanetMine = 0;
    Criterion GenMaxFactor = Criterion::Resources;
    LIST_ITEM GenQueueMinus;
    LIST_ITEM GenQueuePlus;
    LIST_ITEM GenBuildList;
    int32_t GenResPrc = 0;
    int64_t GenResMen = 0;
    int64_t GenResResource = 0;
    int32_t GenResFabr = 0;
    int32_t GenResMine = 0;
    int32_t GenResConPrc[3] = {};
    int32_t GenResMineral[3] = {};
    bool searched = false; // a search has run and its result (templates, figures) stands
};

// Forgets the last search's result: its found templates and the flag.
inline void ClearSearchResult(s_GeneticState& state) {
    state.GenQueueMinus.Clear();
    state.GenQueuePlus.Clear();
    state.searched = false;
}

// Every input of a planet calculation and the results that outlive one calculation.
// One instance lives as long as the program and is passed by reference; the core keeps no
// global state.
struct CalcModel {
    RaceParams Race;
    PlanetParams Planet;
    bool RaceLoaded = false;
    LIST_ITEM QueueMinus; // template while habitability is 0 or below
    LIST_ITEM QueuePlus;  // template while habitability is above 0
    LIST_ITEM BuildList;  // work list of the displayed calculation
    s_GeneticState GeneticState;
};

// The figures of one year row of the calculation output.
struct YearResult {
    int32_t Year = 0;
    int32_t PlanetPrc = 0;
    int64_t Men = 0;
    int64_t Resource = 0;
    int32_t Fabr = 0;
    int32_t Mine = 0;
    int32_t ConPrc[3] = {};
    int64_t MineralYear[3] = {};
    int64_t Mineral[3] = {};
    bool operator==(const YearResult&) const = default;
};

} // namespace quendal
