#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lists/translate.h"
#include "lists/queue_item.h"
#include "model/calc_model.h"
#include "model/field_specs.h"
#include "model/search_params.h"
#include "model/simulation.h"

namespace quendal {

// A whole calculation as the player set it up: what a calculation file holds. Plain values;
// ApplySetup puts them into a model, CaptureModel takes them from one.

// A race as it was loaded from its file, with the path it came from and its name as shown.
struct RaceRecord {
    std::string path; // a record: the race's values below are what a calculation uses
    std::string name;
    RaceParams race; // the file's values, optimum and half-width derived
    bool operator==(const RaceRecord&) const = default;
};

// The planet list a calculation was set up from and the entry chosen in it.
struct PlanetListChoice {
    std::string path;      // absolute; empty when no list was read
    int32_t entry = -1;    // the chosen entry, from 0; -1 when none is chosen
    std::string entryText; // a record: the chosen entry's text
    bool operator==(const PlanetListChoice&) const = default;
};

// The values of "Дополнительные параметры" (with a race only).
struct PlanetTab {
    // The seven economy fields, in the order of the race file's Step3 keys.
    int32_t economy[7] = {1000, 10, 10, 10, 10, 10, 10};
    bool fullTForm = false;
    // Factors, habitability, terraforming limits, minerals, homeworld, factories and mines.
    PlanetParams planet;
    PlanetListChoice list;
    bool operator==(const PlanetTab&) const = default;
};

// The start fields of "Динамика планеты".
struct StartFields {
    int32_t prc = 100;   // start habitability %
    int32_t men = 250;   // colonists in hundreds
    int32_t growth = 15; // % a year
    int32_t years = 15;
    bool operator==(const StartFields&) const = default;
};

// What a search found: its figures and its two templates.
struct SearchOutcome {
    PlanetFigures figures; // the eight shown: all but the concentrations
    std::vector<QueueItem> minus, plus;
    bool operator==(const SearchOutcome&) const = default;
};

// The fields of "Подбор вариантов ОП" and, once a search has run, its result.
struct SearchTab {
    GeneticParams params;                       // П1..П6
    Criterion criterion = Criterion::Resources; // "Максимизация:"
    int32_t interval = 15;                      // years of a trial
    int32_t landing = 1000;                     // colonists of a trial, in hundreds
    std::optional<SearchOutcome> result;
    bool operator==(const SearchTab&) const = default;
};

struct CalcSetup {
    std::optional<RaceRecord> race;
    PlanetTab planetTab; // used with a race only
    StartFields start;
    std::vector<QueueItem> minus, plus; // the two templates
    SearchTab search;
    // A record of the tables as last computed, one line per year; empty when none was. The
    // reader leaves them empty: loading computes them again.
    std::vector<std::string> dataTable, mineralTable;
    bool operator==(const CalcSetup&) const = default;
};

// The unit cost an element of `kind` gets when it is added with the economy of `tab` (as the
// template editor prices it): 100 for both terraforming kinds, the factory or mine cost.
int32_t DefaultUnitCost(int32_t kind, const PlanetTab& tab);

// How the window names a value outside what its field accepts, in `language`: "П1: 0 вне
// допустимых пределов 2..9999" (`name` as shown).
std::string RangeRefusal(std::string_view name, int64_t value, const ValueRange& range,
                         Language language);

// The first field of the search tab, and with `years` the years, outside what a search or a
// calculation file takes, as the window names it in `language` ("П1: 0 вне допустимых
// пределов 2..9999"); empty when every field holds its value.
std::string OutOfRangeField(const SearchTab& search, std::optional<int32_t> years,
                            Language language);

// Puts a calculation into the model as the window's controls would: the race loaded (with the
// start habitability), then the additional parameters typed over it (immune factors marked),
// the templates and, when a search has run, its found templates and figures in the search
// snapshot. Without a race: the race is cleared and the start habitability becomes PlanetPrc.
void ApplySetup(CalcModel& model, const CalcSetup& setup);

// A search's result as the search snapshot holds it (its found templates and figures), or
// none: the snapshot as before any search.
void ApplySearchOutcome(s_GeneticState& state, const std::optional<SearchOutcome>& result);

// The whole calculation a model holds, with what the model does not: the race as loaded, the
// planet list, the start fields, the search fields and the rows last calculated. The search
// result comes from the model when a search has run (s_GeneticState::searched).
CalcSetup CaptureSetup(const CalcModel& model, const std::optional<RaceRecord>& race,
                       const PlanetListChoice& list, const StartFields& start,
                       const SearchTab& search, const std::vector<YearResult>& rows);

} // namespace quendal
