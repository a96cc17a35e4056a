// Runs small searches for a race, a planet and a task chosen by the bytes (population,
// generations, the engine's percentages, criterion, seed) and checks what a player relies on:
// one and two threads find the same templates and figures bit for bit, the figures shown are
// those of the templates shown, and a stop at any evaluation leaves such a pair.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>

#include "fuzz/fuzzed_model.h"
#include "model/calc_model.h"
#include "model/simulation.h"
#include "optimiser/genetic_run.h"

namespace {

using namespace quendal;

[[noreturn]] void Fail(const char* check) {
    std::fprintf(stderr, "finding: %s\n", check);
    __builtin_trap();
}

// The figures shown are those of the templates shown: simulating the found templates from the
// snapshot again gives them, and they are within a planet's bounds.
void CheckBest(const CalcModel& searched, const GeneticResults& r) {
    const PlanetFigures& f = r.figures;
    if (f.men < 0 || f.resource < 0 || f.fabr < 0 || f.mine < 0 || f.prc < -75 || f.prc > 100)
        Fail("figures out of bounds");
    for (int i = 0; i < 3; ++i)
        if (f.mineral[i] < 0 || f.conPrc[i] < 0)
            Fail("negative minerals or concentration");
    auto again = std::make_unique<CalcModel>(searched);
    if (RunGenSimulation(*again).figures != f)
        Fail("the figures are not those of the found templates");
}

bool SameResults(const GeneticResults& a, const GeneticResults& b) {
    return a.figures == b.figures && a.queueMinusLines == b.queueMinusLines &&
           a.queuePlusLines == b.queuePlusLines && a.negativePlanet == b.negativePlanet &&
           a.stopped == b.stopped && a.generationsDone == b.generationsDone &&
           a.evaluations == b.evaluations;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    auto model = std::make_unique<CalcModel>();
    fuzz::FillRaceAndPlanet(in, *model);

    // The search tab's task, kept small so that the fuzzer keeps its pace.
    GeneticInputs task;
    GeneticParams& p = task.params;
    p.populationSize = in.ConsumeIntegralInRange(2, 8);
    p.generations = in.ConsumeIntegralInRange(1, 3);
    p.elitePercent = in.ConsumeIntegralInRange(0, 100);
    p.survivalPercent = in.ConsumeIntegralInRange(0, 100);
    p.mutationPercent = in.ConsumeIntegralInRange(0, 100);
    p.crossoverPercent = in.ConsumeIntegralInRange(0, 100);
    task.criterion = static_cast<Criterion>(in.ConsumeIntegralInRange(0, 5));
    task.seed = in.ConsumeIntegral<uint32_t>();
    task.years = in.ConsumeIntegralInRange(0, 7) == 0 ? in.ConsumeIntegralInRange(1, 30)
                                                      : in.ConsumeIntegralInRange(1, 12);
    task.startMen = fuzz::AnyNumber(in, 10, 30000);
    task.menYearPrc = fuzz::AnyNumber(in, 5, 20);
    task.planetPrc =
        in.ConsumeBool() ? model->Planet.PlanetPrc : in.ConsumeIntegralInRange(-75, 100);
    const int32_t stopThreads = in.ConsumeBool() ? 2 : 1;
    const int32_t stopAt = in.ConsumeIntegralInRange(1, 64);

    auto one = std::make_unique<CalcModel>(*model);
    GeneticRun run;
    const GeneticResults onOne = run.Run(*one, task);
    CheckBest(*one, onOne);

    auto two = std::make_unique<CalcModel>(*model);
    run.threads = 2;
    const GeneticResults onTwo = run.Run(*two, task);
    if (!SameResults(onOne, onTwo))
        Fail("two threads found another result than one");

    // A stop requested while the stopAt-th evaluation is under way.
    auto stopped = std::make_unique<CalcModel>(*model);
    run.threads = stopThreads;
    int32_t calls = 0;
    run.processMessages = [&] {
        if (++calls == stopAt)
            run.RequestStop();
    };
    const GeneticResults r = run.Run(*stopped, task);
    if (calls < stopAt) {
        if (!SameResults(r, onOne))
            Fail("a search never stopped found another result");
    } else {
        if (!r.stopped)
            Fail("a stop request was lost");
        if (r.evaluations > onOne.evaluations)
            Fail("a stopped search evaluated more than a whole one");
        CheckBest(*stopped, r);
    }
    return 0;
}
