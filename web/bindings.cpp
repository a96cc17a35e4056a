// The page's way into the core: the program's controller (optimiser/controller.h), whose
// answers go to the page as JSON texts, and the texts the page takes from the core. The
// workers' jobs are in search_job.cpp and rank_job.cpp.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <iterator>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "io/calc_file.h"
#include "model/calc_setup.h"
#include "model/field_specs.h"
#include "model/habitability.h"
#include "model/numbers.h"
#include "model/output.h"
#include "model/planet_rules.h"
#include "optimiser/controller.h"
#include "optimiser/genetic_run.h"
#include "web/json_out.h"

namespace quendal::web {

namespace {

using emscripten::val;

std::vector<int> Ints(const val& array) {
    return emscripten::vecFromJSArray<int>(array);
}

// The page's fields the model does not hold, as the page lists them: start habitability,
// colonists, growth, years, П1..П6, criterion, interval, landing.
struct PageFields {
    StartFields start;
    SearchTab search;
};

PageFields FieldsOf(const val& values) {
    std::vector<int> v = Ints(values);
    v.resize(13);
    PageFields f;
    f.start = {v[0], v[1], v[2], v[3]};
    for (int i = 0; i < 6; ++i)
        f.search.params[i] = v[4 + static_cast<size_t>(i)];
    f.search.criterion = static_cast<Criterion>(v[10]);
    f.search.interval = v[11];
    f.search.landing = v[12];
    return f;
}

void WriteFigures(JsonOut& out, const PlanetFigures& f) {
    out.BeginArray();
    for (const int64_t figure : ShownFigures(f))
        out.Int(figure);
    out.EndArray();
}

// Everything the page shows of the controller's model and what it keeps beside it.
std::string State(const Controller& c) {
    const CalcModel& model = c.Model();
    const RaceParams& race = model.Race;
    const PlanetParams& planet = model.Planet;
    JsonOut out;
    out.Begin().Key("raceLoaded").Bool(c.RaceLoaded());
    out.Key("raceName").String(c.Race() ? c.Race()->name : "");
    out.Key("racePath").String(c.Race() ? c.Race()->path : "");
    out.Key("growth").Int(race.MaxGrowthYRate);
    out.Key("planetPrc").Int(planet.PlanetPrc);
    out.Key("tformPrc").Int(c.TFormPrc());
    int32_t economy[7];
    for (int i = 0; i < 7; ++i)
        economy[i] = race.Economy(i);
    out.Key("economy").Ints(economy, 7);
    out.Key("fullTForm").Bool(race.FullTForm);
    out.Key("tformLimitMax").Int(TFormLimitMax(race.FullTForm));
    out.Key("env").Ints(planet.PlanetEnv, 3);
    int32_t limits[3];
    std::vector<std::string> optimum;
    bool rowEnabled[3], spinEnabled[3];
    for (int i = 0; i < 3; ++i) {
        limits[i] = TFormLimitOf(planet, i);
        optimum.push_back(OptimumText(race, i));
        rowEnabled[i] = c.FactorRowEnabled(i);
        spinEnabled[i] = c.FactorSpinEnabled(i);
    }
    for (const auto& [key, flags] :
         {std::pair{"rowEnabled", rowEnabled}, std::pair{"spinEnabled", spinEnabled}})
        out.Key(key).BeginArray().Bool(flags[0]).Bool(flags[1]).Bool(flags[2]).EndArray();
    out.Key("limits").Ints(limits, 3);
    out.Key("optimum").Strings(optimum);
    out.Key("fabr").Int(planet.PlanetFabr).Key("mine").Int(planet.PlanetMine);
    out.Key("homeworld").Bool(planet.PlanetHW);
    out.Key("conPrc").Ints(planet.PlanetConPrc, 3);
    out.Key("mineral").Ints(planet.PlanetMineral, 3);
    out.Key("minus").Strings(TemplateLines(c.Template(false)));
    out.Key("plus").Strings(TemplateLines(c.Template(true)));
    out.Key("planets").Strings(c.List().entries).Key("chosen").Int(c.ChosenEntry());
    out.Key("listPath").String(c.ListPath());
    out.Key("genPlanet").String(c.GenPlanet());
    out.Key("searched").Bool(c.HasSearchResult());
    out.Key("canSave").Bool(c.CanSave());
    return out.End().Text();
}

// "Расчет": the two tables' lines and the chart's series.
std::string Calculate(Controller& c, const val& values) {
    const CalcView& view = c.Calculate(FieldsOf(values).start);
    JsonOut out;
    out.Begin().Key("data").Strings(view.dataLines).Key("minerals").Strings(view.mineralLines);
    out.Key("chart").BeginArray();
    for (const std::array<double, 6>& p : view.chartPoints) {
        out.BeginArray();
        for (const double figure : p)
            out.Double(figure);
        out.EndArray();
    }
    out.EndArray().Key("shown").Begin();
    out.Key("resources").Bool(view.plotted[2]).Key("factories").Bool(view.plotted[3]);
    out.Key("mines").Bool(view.plotted[4]).End();
    return out.End().Text();
}

std::string Refusal(const Controller& c, const val& values) {
    const PageFields f = FieldsOf(values);
    return c.Refusal(f.start, f.search);
}

std::string SearchRefusal(const Controller& c, const val& values) {
    return c.SearchRefusal(FieldsOf(values).search);
}

std::string SaveCalc(const Controller& c, const val& values) {
    const PageFields f = FieldsOf(values);
    return c.CalcText(f.start, f.search);
}

// A calculation file opened: {"error": message} when refused (nothing changes), else the start
// fields and the search tab to show, after which the page calculates. The page reads no file
// of its own: a list the file names is kept when the page holds one of that name.
std::string OpenCalc(Controller& c, const std::string& bytes, const std::string& name) {
    const OpenedCalc opened = c.OpenCalc(ParseCalcFile(bytes), name, {});
    JsonOut out;
    out.Begin();
    if (!opened.error.empty())
        return out.Key("error").String(opened.error).End().Text();
    const StartFields& s = opened.setup.start;
    out.Key("prc").Int(s.prc);
    out.Key("men").Int(s.men).Key("growth").Int(s.growth).Key("years").Int(s.years);
    const SearchTab& search = opened.setup.search;
    out.Key("params").BeginArray();
    for (int i = 0; i < 6; ++i)
        out.Int(search.params[i]);
    out.EndArray();
    out.Key("criterion").Int(static_cast<int>(search.criterion));
    out.Key("interval").Int(search.interval).Key("landing").Int(search.landing);
    out.Key("result");
    if (search.result) {
        out.Begin().Key("figures");
        WriteFigures(out, search.result->figures);
        out.Key("minus").Strings(TemplateLines(search.result->minus));
        out.Key("plus").Strings(TemplateLines(search.result->plus));
        out.End();
    } else {
        out.Null();
    }
    return out.End().Text();
}

// A template from the ranking's [kind, unit cost, count] elements.
std::vector<QueueItem> Items(const val& elements) {
    std::vector<QueueItem> items;
    const int n = elements["length"].as<int>();
    for (int i = 0; i < n; ++i) {
        const std::vector<int> e = Ints(elements[i]);
        if (e.size() == 3)
            items.push_back(QueueItem{e[0], e[1], e[2], 0.0});
    }
    return items;
}

int UseRankedPlanet(Controller& c, int index, const val& minus, const val& plus, bool searched) {
    RankedPlanet row;
    row.index = index;
    row.foundMinus = Items(minus);
    row.foundPlus = Items(plus);
    return c.UseRankedRow(row, searched);
}

// The list's bytes as they are (a JavaScript string would be decoded as UTF-8).
val ListBytes(const Controller& c) {
    const std::string& bytes = c.ListBytes();
    return val(emscripten::typed_memory_view(bytes.size(),
                                             reinterpret_cast<const uint8_t*>(bytes.data())))
        .call<val>("slice");
}

void LoadRace(Controller& c, const std::string& bytes, const std::string& path, int startPrc) {
    c.LoadRace(bytes, path, startPrc);
}

void LoadPlanetList(Controller& c, const std::string& bytes, const std::string& path) {
    c.LoadPlanetList(bytes, path);
}

bool AdoptSearchResult(Controller& c, const std::string& calText) {
    return c.AdoptSearchResult(calText);
}

int LeadingIntOf(const std::string& text) {
    return LeadingInt(text);
}

// The texts the page takes from the core: the tables' header lines, the criteria and the
// captions, ranges, steps and first values of the fields the window shows too.
std::string Captions() {
    JsonOut out;
    out.Begin().Key("headers").Strings(
        {kDataHeader1, kDataHeader2, kMineralHeader1, kMineralHeader2});
    const auto strings = [](const auto& texts) {
        return std::vector<std::string>(std::begin(texts), std::end(texts));
    };
    out.Key("criteria").Strings(strings(kCriterionCaptions));
    // [caption or name, minimum, maximum, step, first value]
    const auto range = [](JsonOut& row, const FieldRange& r) {
        row.Int(r.minimum).Int(r.maximum).Int(r.step).Int(r.value).EndArray();
    };
    using Fields = std::pair<const char*, std::span<const NumberFieldSpec>>;
    for (const auto& [key, fields] :
         {Fields{"economy", kEconomyFields}, Fields{"genetic", kGeneticParamFields}}) {
        out.Key(key).BeginArray();
        for (const NumberFieldSpec& f : fields)
            range(out.BeginArray().String(f.caption), f.range);
        out.EndArray();
    }
    out.Key("numbers").BeginArray();
    for (const NamedNumberField& f : kNumberFields)
        range(out.BeginArray().String(f.name), f.range);
    out.EndArray();
    out.Key("factors")
        .Strings(strings(kFactorCaptions))
        .Key("series")
        .Strings(strings(kChartSeriesCaptions))
        .Key("optimum")
        .Strings(strings(kOptimumPlaceholders))
        .Key("minerals")
        .Strings(strings(kMineralNames));
    out.Key("mineralShort")
        .Strings(strings(kMineralShortNames))
        .Key("results")
        .Strings(strings(kSearchResultCaptions));
    return out.End().Text();
}

} // namespace

EMSCRIPTEN_BINDINGS(quendal_web) {
    using emscripten::class_;
    class_<Controller>("Controller")
        .constructor<>()
        .function("loadRace", &LoadRace)
        .function("clearRace", &Controller::ClearRace)
        .function("takeStartPrc", &Controller::TakeStartPrc)
        .function("setEconomy", &Controller::SetEconomy)
        .function("setFullTForm", &Controller::SetFullTForm)
        .function("typeFactor", &Controller::TypeFactor)
        .function("typeTFormLimit", &Controller::TypeTFormLimit)
        .function("setFactories", &Controller::SetFactories)
        .function("setMines", &Controller::SetMines)
        .function("setHomeworld", &Controller::SetHomeworld)
        .function("setConcentration", &Controller::SetConcentration)
        .function("setMineral", &Controller::SetMineral)
        .function("addElement", &Controller::AddElement)
        .function("deleteLine", &Controller::DeleteLine)
        .function("moveUp", &Controller::MoveUp)
        .function("moveDown", &Controller::MoveDown)
        .function("clearTemplate", &Controller::ClearTemplate)
        .function("loadPlanetList", &LoadPlanetList)
        .function("choosePlanet", &Controller::ChoosePlanet)
        .function("calculate", &Calculate)
        .function("refusal", &Refusal)
        .function("searchRefusal", &SearchRefusal)
        .function("saveCalc", &SaveCalc)
        .function("openCalc", &OpenCalc)
        .function("setSearching", &Controller::SetSearching)
        .function("adoptSearchResult", &AdoptSearchResult)
        .function("copyFoundToTemplates", &Controller::CopyFoundToTemplates)
        .function("clearSearchResult", &Controller::ClearSearchResult)
        .function("listBytes", &ListBytes)
        .function("useRankedPlanet", &UseRankedPlanet)
        .function("state", &State);
    emscripten::function("captions", &Captions);
    emscripten::function("leadingInt", &LeadingIntOf);
    emscripten::function("searchInterval", &SearchInterval);
}

} // namespace quendal::web
