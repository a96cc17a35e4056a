#include "web/page_answers.h"

#include <array>
#include <iterator>
#include <span>
#include <utility>

#include "io/calc_file.h"
#include "io/planet_list.h"
#include "model/field_specs.h"
#include "model/output.h"
#include "model/planet_rules.h"
#include "web/json_out.h"

namespace quendal::web {

namespace {

void WriteFigures(JsonOut& out, const PlanetFigures& f) {
    out.BeginArray();
    for (const int64_t figure : ShownFigures(f))
        out.Int(figure);
    out.EndArray();
}

} // namespace

PageFields FieldsOf(std::vector<int> v) {
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

std::string StateAnswer(const Controller& c) {
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
        optimum.push_back(OptimumText(race, i, c.TextLanguage()));
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
    out.Key("minus").Strings(TemplateLines(c.Template(false), c.TextLanguage()));
    out.Key("plus").Strings(TemplateLines(c.Template(true), c.TextLanguage()));
    std::vector<std::string> planets;
    for (const std::string& entry : c.List().entries)
        planets.push_back(ShownEntry(entry, c.TextLanguage()));
    out.Key("planets").Strings(planets).Key("chosen").Int(c.ChosenEntry());
    out.Key("listPath").String(c.ListPath());
    out.Key("genPlanet").String(c.GenPlanet());
    out.Key("searched").Bool(c.HasSearchResult());
    out.Key("canSave").Bool(c.CanSave());
    return out.End().Text();
}

std::string CalculateAnswer(Controller& c, const PageFields& fields) {
    const CalcView& view = c.Calculate(fields.start);
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

std::string OpenCalcAnswer(Controller& c, const std::string& bytes, const std::string& name) {
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
        out.Key("minus").Strings(TemplateLines(search.result->minus, c.TextLanguage()));
        out.Key("plus").Strings(TemplateLines(search.result->plus, c.TextLanguage()));
        out.End();
    } else {
        out.Null();
    }
    return out.End().Text();
}

Language& PageLanguage() {
    static Language language;
    return language;
}

std::string CaptionsAnswer(Language language) {
    const auto strings = [language](const auto& texts) {
        std::vector<std::string> shown;
        for (const char* text : texts)
            shown.emplace_back(Translate(language, text));
        return shown;
    };
    JsonOut out;
    out.Begin().Key("headers").Strings(
        strings(std::array{kDataHeader1, kDataHeader2, kMineralHeader1, kMineralHeader2}));
    out.Key("criteria").Strings(strings(kCriterionCaptions));
    // [caption or name, minimum, maximum, step, first value]
    const auto range = [](JsonOut& row, const SpinControl& r) {
        row.Int(r.minimum).Int(r.maximum).Int(r.step).Int(r.value).EndArray();
    };
    using Fields = std::pair<const char*, std::span<const FieldSpec>>;
    for (const auto& [key, fields] :
         {Fields{"economy", kEconomyFields}, Fields{"genetic", kGeneticParamFields}}) {
        out.Key(key).BeginArray();
        for (const FieldSpec& f : fields)
            range(out.BeginArray().String(Translate(language, f.caption)), f.spin);
        out.EndArray();
    }
    out.Key("numbers").BeginArray();
    for (const FieldSpec& f : kNumberFields)
        range(out.BeginArray().String(f.name), f.spin);
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

} // namespace quendal::web
