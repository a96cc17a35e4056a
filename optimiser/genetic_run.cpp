#include "optimiser/genetic_run.h"

#include <algorithm>
#include <chrono>
#include <memory>

#include "lists/queue_item.h"
#include "model/extended.h"
#include "model/habitability.h"
#include "model/numbers.h"
#include "optimiser/search.h"

namespace quendal {

namespace {

uint32_t SteadyTicks() {
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

} // namespace

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
    const GeneticParams& params = inputs.params;
    FillSnapshot(model, inputs);
    s_GeneticState& state = model.GeneticState;
    state.searched = false; // until this search has its result
    // However the run ends, an exception included, it is over.
    struct EndOfRun {
        bool& running;
        ~EndOfRun() { running = false; }
    } endOfRun{running_};

    GeneticResults results;
    results.negativePlanet = state.GenPlanetPrc <= 0;
    std::vector<GeneDesc> table = BuildGeneTable(results.negativePlanet, state.GenMaxTFormStep);
    // Taken once: the engine reads no model, so an edit during the search waits for the next.
    const GenSimInputs taken = GenSimInputs::Of(model);
    const SearchControl control{&GenStopFlag, processMessages, threads,
                                [&state](const CandidateOutcome& o) { StoreOutcome(o, state); }};
    std::unique_ptr<QueueSearch> engine;
    if (results.negativePlanet)
        engine =
            std::make_unique<TMinSearch>(taken, control, params.populationSize, table, inputs.seed);
    else
        engine =
            std::make_unique<TMaxSearch>(taken, control, params.populationSize, table, inputs.seed);
    engine->SetParams(PercentFraction(params.elitePercent), PercentFraction(params.mutationPercent),
                      PercentFraction(params.crossoverPercent),
                      PercentFraction(params.survivalPercent));

    const std::function<uint32_t()> clock = tickCount ? tickCount : SteadyTicks;
    const uint32_t t0 = clock();
    for (int32_t g = 0; g < params.generations; ++g) {
        if (!engine->NextGeneration())
            GenStopFlag = 1;
        results.generationsDone = g + 1;

        // The tick counter wraps; the unsigned difference stays right across the wrap.
        const int64_t elapsed = static_cast<uint32_t>(clock() - t0);
        const double done = (Extended(g + 1) / Extended(params.generations)).ToDouble();
        const int64_t remaining = TruncToInt64(Extended(elapsed) / Extended(done)) - elapsed;
        GeneticProgress progress;
        progress.generationsDone = g + 1;
        progress.position =
            static_cast<int32_t>(TruncToInt64(Extended(kProgressMax) * Extended(done)));
        progress.elapsedText = FormatDuration(elapsed);
        progress.remainingText = FormatDuration(remaining);
        if (onProgress)
            onProgress(progress);
        if (processMessages)
            processMessages();
        if (GenStopFlag != 0)
            break;
    }

    if (onEndStage)
        onEndStage();
    RefineBest(*engine, engine->Chromosome(0));
    // A stop before the first simulation would leave the figures and templates of whatever
    // ran before, another search's perhaps: the first candidate is shown instead.
    if (engine->evaluations() == 0)
        engine->EvaluateAndReport(engine->Chromosome(0));

    results.figures = GenResFigures(state);
    results.queueMinusLines = TemplateLines(state.GenQueueMinus);
    results.queuePlusLines = TemplateLines(state.GenQueuePlus);
    results.stopped = GenStopFlag != 0;
    results.evaluations = engine->evaluations();
    state.searched = true;
    return results;
}

GeneticInputs SearchInputsOf(const SearchTab& tab, int32_t planetPrc, int32_t growth,
                             std::optional<uint32_t> seed) {
    GeneticInputs inputs;
    inputs.params = tab.params;
    inputs.planetPrc = planetPrc;
    inputs.years = tab.interval;
    inputs.startMen = tab.landing;
    inputs.menYearPrc = growth;
    inputs.criterion = tab.criterion;
    inputs.seed = seed.value_or(inputs.seed);
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

std::string FormatDuration(int64_t milliseconds) {
    const int64_t s = TruncToInt64(Extended(milliseconds) * Extended(0.001) + Extended(0.5));
    const int64_t hours = s / 3600;
    const int64_t minutes = (s / 60) % 60;
    const int64_t seconds = s % 60;
    if (hours != 0)
        return std::to_string(hours) + " ч. " + std::to_string(minutes) + " мин";
    if (minutes != 0)
        return std::to_string(minutes) + " мин " + std::to_string(seconds) + " сек";
    if (seconds != 0)
        return std::to_string(seconds) + " секунд";
    return std::to_string(milliseconds) + " миллисек";
}

void CopyToTemplates(CalcModel& model) {
    FillTemplate(model.QueueMinus, model.GeneticState.GenQueueMinus);
    FillTemplate(model.QueuePlus, model.GeneticState.GenQueuePlus);
}

} // namespace quendal
