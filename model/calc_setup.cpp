#include "model/calc_setup.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "model/field_specs.h"
#include "model/output.h"
#include "model/planet_rules.h"

namespace quendal {

int32_t DefaultUnitCost(int32_t kind, const PlanetTab& tab) {
    if (kind == Factories)
        return tab.economy[2];
    if (kind == Mines)
        return tab.economy[4];
    return kTerraformUnitCost;
}

std::string RangeRefusal(std::string_view name, int64_t value, const ValueRange& range,
                         Language language) {
    return Tr(language, "%1: %2 вне допустимых пределов %3..%4",
              {name, std::to_string(value), std::to_string(range.lo), std::to_string(range.hi)});
}

std::string OutOfRangeField(const SearchTab& search, std::optional<int32_t> years,
                            Language language) {
    struct Checked {
        const FieldSpec& field;
        int32_t value;
    };
    std::vector<Checked> fields;
    for (int i = 0; i < 6; ++i)
        fields.push_back({kGeneticParamFields[i], search.params[i]});
    fields.push_back({kSearchYearsField, search.interval});
    if (years)
        fields.push_back({kYearsField, *years});
    for (const Checked& checked : fields)
        if (!checked.field.accepts.Holds(checked.value))
            return RangeRefusal(Translate(language, checked.field.label), checked.value,
                                checked.field.accepts, language);
    return {};
}

void ApplySetup(CalcModel& model, const CalcSetup& setup) {
    ClearRace(model);
    if (setup.race) {
        ApplyRace(model, setup.race->race, setup.start.prc);
        const PlanetTab& tab = setup.planetTab;
        for (int i = 0; i < 7; ++i)
            model.Race.Economy(i) = tab.economy[i];
        model.Race.FullTForm = tab.fullTForm;
        model.Planet = tab.planet;
        MarkImmuneFactors(model.Race, model.Planet);
    } else {
        model.Planet.PlanetPrc = setup.start.prc;
    }
    FillTemplate(model.QueueMinus, setup.minus);
    FillTemplate(model.QueuePlus, setup.plus);
    ApplySearchOutcome(model.GeneticState, setup.search.result);
}

void ApplySearchOutcome(s_GeneticState& state, const std::optional<SearchOutcome>& result) {
    const SearchOutcome found = result.value_or(SearchOutcome{});
    FillTemplate(state.GenQueueMinus, found.minus);
    FillTemplate(state.GenQueuePlus, found.plus);
    SetGenResFigures(found.figures, state);
    state.searched = result.has_value();
}

CalcSetup CaptureSetup(const CalcModel& model, const std::optional<RaceRecord>& race,
                       const PlanetListChoice& list, const StartFields& start,
                       const SearchTab& search, const std::vector<YearResult>& rows) {
    CalcSetup setup;
    PlanetTab& tab = setup.planetTab;
    tab.list = list;
    if (model.RaceLoaded) {
        setup.race = race;
        for (int i = 0; i < 7; ++i)
            tab.economy[i] = model.Race.Economy(i);
        tab.fullTForm = model.Race.FullTForm;
        tab.planet = model.Planet;
        for (int i = 0; i < 3; ++i) // as the tab shows them
            tab.planet.MaxTFormPrc[i] = TFormLimitOf(model.Planet, i);
    }
    setup.start = start;
    setup.minus = ItemsOf(model.QueueMinus);
    setup.plus = ItemsOf(model.QueuePlus);
    setup.search = search;
    setup.search.result.reset();
    const s_GeneticState& state = model.GeneticState;
    if (state.searched) {
        SearchOutcome found;
        found.figures = GenResFigures(state);
        // The file keeps the eight figures the search tab shows, which leave out concentrations.
        std::fill(std::begin(found.figures.conPrc), std::end(found.figures.conPrc), 0);
        found.minus = ItemsOf(state.GenQueueMinus);
        found.plus = ItemsOf(state.GenQueuePlus);
        setup.search.result = found;
    }
    for (const YearResult& row : rows) {
        setup.dataTable.push_back(DataTableLine(row));
        if (model.RaceLoaded)
            setup.mineralTable.push_back(MineralLine(row));
    }
    return setup;
}

} // namespace quendal
