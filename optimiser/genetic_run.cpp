#include "optimiser/genetic_run.h"

#include <algorithm>
#include <memory>

#include "lists/queue_item.h"
#include "model/extended.h"
#include "model/habitability.h"
#include "model/numbers.h"
#include "optimiser/search.h"
#include "optimiser/stepped_search.h"

namespace quendal {

void FillSnapshot(CalcModel& model, const GeneticInputs& inputs) {
    s_GeneticState& state = model.GeneticState;
    const PlanetParams& planet = model.Planet;
    state.GenPlanetPrc = inputs.planetPrc;
    state.GenStartMen = inputs.startMen;
    state.GenMenYearPrc = inputs.menYearPrc;
    state.GenLYear = std::min(inputs.years, kMaxSearchYears);
    state.GenPlanetFabr = planet.PlanetFabr;
    state.GenPlanetMine = planet.PlanetMine;
    state.GenMaxTFormStep =
        std::max({0, planet.MaxTFormPrc[0], planet.MaxTFormPrc[1], planet.MaxTFormPrc[2]});
    std::copy(std::begin(planet.PlanetEnv), std::end(planet.PlanetEnv), state.GenPlanetEnv);
    TFormTarget(model, planet.PlanetEnv, state.GenTFormTarget);
    state.GenTFormPrc = CalcTFormPrc(model, planet.PlanetEnv);
    state.GenMaxFactor = inputs.criterion;
}

GeneticResults GeneticRun::Run(CalcModel& model, const GeneticInputs& inputs) {
    GenStopFlag = 0;
    running_ = true;
    // However the run ends, an exception included, it is over.
    struct EndOfRun {
        bool& running;
        ~EndOfRun() { running = false; }
    } endOfRun{running_};

    SteppedSearch search(model, inputs, SearchControl{&GenStopFlag, processMessages, threads, {}},
                         tickCount);
    while (search.generationsDone() < search.generations()) {
        const auto count = static_cast<int32_t>(search.BeginGeneration().size());
        const bool complete = search.EvaluatePending(0, count);
        if (!complete)
            GenStopFlag = 1;
        const GeneticProgress progress = search.EndGeneration(complete);
        if (onProgress)
            onProgress(progress);
        if (processMessages)
            processMessages();
        if (GenStopFlag != 0)
            break;
    }

    if (onEndStage)
        onEndStage();
    return search.Finish();
}

GeneticInputs SearchInputsOf(const SearchTab& tab, int32_t planetPrc, int32_t growth,
                             std::optional<uint32_t> seed, Language language) {
    GeneticInputs inputs;
    inputs.params = tab.params;
    inputs.planetPrc = planetPrc;
    inputs.years = tab.interval;
    inputs.startMen = tab.landing;
    inputs.menYearPrc = growth;
    inputs.criterion = tab.criterion;
    inputs.seed = seed.value_or(inputs.seed);
    inputs.language = language;
    return inputs;
}

std::string GenPlanetText(const CalcModel& model) {
    const PlanetParams& planet = model.Planet;
    std::string text =
        std::to_string(planet.PlanetPrc) + " (" + std::to_string(planet.PlanetEnv[0]) + "," +
        std::to_string(planet.PlanetEnv[1]) + "," + std::to_string(planet.PlanetEnv[2]) + ")";
    if (planet.PlanetHW)
        text += " HW";
    return text;
}

std::string FormatDuration(int64_t milliseconds, Language language) {
    const int64_t s = TruncToInt64(Extended(milliseconds) * Extended(0.001) + Extended(0.5));
    const int64_t hours = s / 3600;
    const int64_t minutes = (s / 60) % 60;
    const int64_t seconds = s % 60;
    if (hours != 0)
        return Tr(language, "%1 ч. %2 мин", {std::to_string(hours), std::to_string(minutes)});
    if (minutes != 0)
        return Tr(language, "%1 мин %2 сек", {std::to_string(minutes), std::to_string(seconds)});
    if (seconds != 0)
        return Tr(language, "%1 секунд", {std::to_string(seconds)});
    return Tr(language, "%1 миллисек", {std::to_string(milliseconds)});
}

void CopyToTemplates(CalcModel& model) {
    FillTemplate(model.QueueMinus, model.GeneticState.GenQueueMinus);
    FillTemplate(model.QueuePlus, model.GeneticState.GenQueuePlus);
}

} // namespace quendal
