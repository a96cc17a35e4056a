// Runs the displayed and the headless calculation on a race, a planet, start conditions and
// templates chosen by the bytes, values a reader would refuse included, and checks what a
// player relies on: no negative colonists, resources, minerals, factories or mines;
// habitability within its bounds; the same input gives the same rows, whether units are paid
// many at once or one at a time; and the two runs agree where they start from the same state.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "fuzz/fuzzed_model.h"
#include "model/calc_model.h"
#include "model/habitability.h"
#include "model/simulation.h"

namespace {

using namespace quendal;

void FillModel(FuzzedDataProvider& in, CalcModel& m) {
    fuzz::FillRaceAndPlanet(in, m);
    fuzz::FillTemplates(in, m);
}

std::vector<YearResult> Rows(CalcModel& m, const StartConditions& start) {
    std::vector<YearResult> rows;
    RunCalculation(m, start, [&rows](const YearResult& row) { rows.push_back(row); });
    return rows;
}

// Prints the values chosen, so that a finding reads as a test case.
void Describe(const CalcModel& m, const StartConditions& start) {
    const RaceParams& r = m.Race;
    const PlanetParams& p = m.Planet;
    std::fprintf(stderr,
                 "race env %d..%d %d..%d %d..%d growth %d economy %d %d %d %d %d %d "
                 "%d fullTForm %d\nplanet env %d %d %d limits %d %d %d con %d %d %d minerals %d "
                 "%d %d homeworld %d factories %d mines %d\nstart men %d prc %d growth %d years "
                 "%d\n",
                 r.Env0Min, r.Env0Max, r.Env1Min, r.Env1Max, r.Env2Min, r.Env2Max, r.MaxGrowthYRate,
                 r.NColonistYTo1Resource, r.NResourceYFrom10Factory, r.NResourceBuildFactory,
                 r.NFactoryWork10000, r.NResourceBuildMine, r.NMineWork10000, r.NMineralYFrom10Mine,
                 r.FullTForm, p.PlanetEnv[0], p.PlanetEnv[1], p.PlanetEnv[2], p.MaxTFormPrc[0],
                 p.MaxTFormPrc[1], p.MaxTFormPrc[2], p.PlanetConPrc[0], p.PlanetConPrc[1],
                 p.PlanetConPrc[2], p.PlanetMineral[0], p.PlanetMineral[1], p.PlanetMineral[2],
                 p.PlanetHW, p.PlanetFabr, p.PlanetMine, start.StartMen, start.StartPrc,
                 start.MenYearPrc, start.Years);
    for (const LIST_ITEM* list : {&m.QueueMinus, &m.QueuePlus}) {
        std::fprintf(stderr, "%s", list == &m.QueueMinus ? "minus" : "plus");
        for (const QueueItem& item : *list)
            std::fprintf(stderr, " %d:%d@%d", item.kind, item.count, item.unitCost);
        std::fprintf(stderr, "\n");
    }
}

std::vector<QueueItem> Items(const LIST_ITEM& list) {
    std::vector<QueueItem> items;
    for (const QueueItem& item : list)
        items.push_back(item);
    return items;
}

// Loop turns that paying one unit at a time adds to a run whose rows are given: the units
// built, and at most an order's count a sub-step in the last year, which no row shows.
int64_t UnitsToPay(const CalcModel& m, const std::vector<YearResult>& rows) {
    int64_t most = 0;
    for (const LIST_ITEM* list : {&m.QueueMinus, &m.QueuePlus})
        for (const QueueItem& item : *list)
            if (item.kind == Factories || item.kind == Mines)
                most = std::max<int64_t>(most, item.count);
    const YearResult &first = rows.front(), &last = rows.back();
    return int64_t{last.Fabr} - first.Fabr + last.Mine - first.Mine + 250 * most;
}

// Stops the run on a finding, naming the broken check and the values chosen.
[[noreturn]] void Fail(const char* check, const CalcModel& m, const StartConditions& start) {
    std::fprintf(stderr, "finding: %s\n", check);
    Describe(m, start);
    __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    auto first = std::make_unique<CalcModel>();
    FillModel(in, *first);
    StartConditions start;
    start.StartMen = fuzz::AnyNumber(in, 10, 30000);
    start.MenYearPrc = fuzz::AnyNumber(in, 5, 20);
    // Long runs now and then; most stay short, so that the fuzzer keeps its pace.
    start.Years = in.ConsumeIntegralInRange(0, 7) == 0 ? in.ConsumeIntegralInRange(0, 999)
                                                       : in.ConsumeIntegralInRange(0, 30);
    // The planet's own habitability, or another set with the start habitability's spin (its
    // field is locked while a race is loaded).
    start.StartPrc =
        in.ConsumeBool() ? first->Planet.PlanetPrc : in.ConsumeIntegralInRange(-75, 100);
    const bool sameStart = start.StartPrc == first->Planet.PlanetPrc;

    // A slow input replayed with QUENDAL_FUZZ_DESCRIBE set says what it holds.
    static const bool describe = std::getenv("QUENDAL_FUZZ_DESCRIBE") != nullptr;
    if (describe)
        Describe(*first, start);
    auto second = std::make_unique<CalcModel>(*first);
    auto headless = std::make_unique<CalcModel>(*first);
    const std::vector<YearResult> rows = Rows(*first, start);
    // Again, paying one unit at a time where that stays quick: the same rows and pending order.
    StartConditions again = start;
    again.PayInOneGo = UnitsToPay(*headless, rows) > 1000000;
    if (rows != Rows(*second, again) || Items(first->BuildList) != Items(second->BuildList))
        Fail(again.PayInOneGo ? "same input, same rows" : "paid one at a time, other rows",
             *headless, start);
    for (const YearResult& row : rows) {
        if (row.Men < 0 || row.Resource < 0 || row.Fabr < 0 || row.Mine < 0)
            Fail("negative colonists, resources, factories or mines", *headless, start);
        if (row.PlanetPrc > 100 || row.PlanetPrc < -75)
            Fail("habitability out of bounds", *headless, start);
        for (int i = 0; i < 3; ++i)
            if (row.Mineral[i] < 0 || row.MineralYear[i] < 0 || row.ConPrc[i] < 0)
                Fail("negative minerals or concentration", *headless, start);
    }

    // The headless run from the same planet, start and templates ends where the displayed one
    // shows its last row.
    if (sameStart && !rows.empty() && (first->QueueMinus.count() + first->QueuePlus.count()) > 0) {
        s_GeneticState& gen = headless->GeneticState;
        const PlanetParams& p = headless->Planet;
        gen.GenPlanetPrc = p.PlanetPrc;
        gen.GenStartMen = start.StartMen;
        gen.GenMenYearPrc = start.MenYearPrc;
        gen.GenLYear = start.Years;
        gen.GenPlanetFabr = p.PlanetFabr;
        gen.GenPlanetMine = p.PlanetMine;
        std::copy(p.PlanetEnv, p.PlanetEnv + 3, gen.GenPlanetEnv);
        TFormTarget(*headless, p.PlanetEnv, gen.GenTFormTarget);
        gen.GenTFormPrc = CalcTFormPrc(*headless, p.PlanetEnv);
        gen.GenQueueMinus = headless->QueueMinus;
        gen.GenQueuePlus = headless->QueuePlus;
        const PlanetFigures f = RunGenSimulation(*headless).figures;
        const YearResult& last = rows.back();
        if (f.prc != last.PlanetPrc || f.men != last.Men || f.resource != last.Resource ||
            f.fabr != last.Fabr || f.mine != last.Mine)
            Fail("headless figures differ from the last row", *headless, start);
        for (int i = 0; i < 3; ++i)
            if (f.conPrc[i] != last.ConPrc[i] ||
                f.mineral[i] != std::clamp<int64_t>(last.Mineral[i], INT32_MIN, INT32_MAX))
                Fail("headless minerals differ from the last row", *headless, start);
    }
    return 0;
}
