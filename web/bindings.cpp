// The page's way into the core: the session of the window (web/session.h) and the texts and
// checks the page takes from the core. The workers' jobs are in search_job.cpp and
// rank_job.cpp.
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
#include "model/output.h"
#include "model/planet_rules.h"
#include "optimiser/genetic_run.h"
#include "web/json_out.h"
#include "web/session.h"

namespace quendal::web {

namespace {

using emscripten::val;

std::vector<int> Ints(const val& array) {
    return emscripten::vecFromJSArray<int>(array);
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
    const auto range = [](JsonOut& row, const SpinControl& r) {
        row.Int(r.minimum).Int(r.maximum).Int(r.step).Int(r.value).EndArray();
    };
    using Fields = std::pair<const char*, std::span<const FieldSpec>>;
    for (const auto& [key, fields] :
         {Fields{"economy", kEconomyFields}, Fields{"genetic", kGeneticParamFields}}) {
        out.Key(key).BeginArray();
        for (const FieldSpec& f : fields)
            range(out.BeginArray().String(f.caption), f.spin);
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

// OutOfRangeField of the page's values (as SaveCalc takes them), with the years or without.
std::string OutOfRange(const val& values, bool withYears) {
    std::vector<int> v = Ints(values);
    v.resize(13);
    SearchTab search;
    for (int i = 0; i < 6; ++i)
        search.params[i] = v[4 + static_cast<size_t>(i)];
    search.interval = v[11];
    return OutOfRangeField(search, withYears ? std::optional<int32_t>(v[3]) : std::nullopt);
}

std::string SaveCalc(const Session& s, const val& values) {
    return s.SaveCalc(Ints(values));
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

int UseRankedPlanet(Session& s, int index, const val& minus, const val& plus, bool searched) {
    return s.UseRankedPlanet(index, Items(minus), Items(plus), searched);
}

// The list's bytes as they are (a JavaScript string would be decoded as UTF-8).
val ListBytes(const Session& s) {
    const std::string& bytes = s.ListBytes();
    return val(emscripten::typed_memory_view(bytes.size(),
                                             reinterpret_cast<const uint8_t*>(bytes.data())))
        .call<val>("slice");
}

} // namespace

EMSCRIPTEN_BINDINGS(quendal_web) {
    using emscripten::class_;
    class_<Session>("Session")
        .constructor<>()
        .function("loadRace", &Session::LoadRace)
        .function("clearRace", &Session::ClearRace)
        .function("takeStartPrc", &Session::TakeStartPrc)
        .function("setEconomy", &Session::SetEconomy)
        .function("setFullTForm", &Session::SetFullTForm)
        .function("typeFactor", &Session::TypeFactor)
        .function("typeTFormLimit", &Session::TypeTFormLimit)
        .function("setFactories", &Session::SetFactories)
        .function("setMines", &Session::SetMines)
        .function("setHomeworld", &Session::SetHomeworld)
        .function("setConcentration", &Session::SetConcentration)
        .function("setMineral", &Session::SetMineral)
        .function("addElement", &Session::AddElement)
        .function("deleteLine", &Session::DeleteLine)
        .function("moveUp", &Session::MoveUp)
        .function("moveDown", &Session::MoveDown)
        .function("clearTemplate", &Session::ClearTemplate)
        .function("loadPlanetList", &Session::LoadPlanetList)
        .function("choosePlanet", &Session::ChoosePlanet)
        .function("calculate", &Session::Calculate)
        .function("saveCalc", &SaveCalc)
        .function("openCalc", &Session::OpenCalc)
        .function("adoptSearchResult", &Session::AdoptSearchResult)
        .function("copyFoundToTemplates", &Session::CopyFoundToTemplates)
        .function("clearSearchResult", &Session::ClearSearchResult)
        .function("listBytes", &ListBytes)
        .function("useRankedPlanet", &UseRankedPlanet)
        .function("state", &Session::State);
    emscripten::function("captions", &Captions);
    emscripten::function("outOfRange", &OutOfRange);
    emscripten::function("searchInterval", &SearchInterval);
}

} // namespace quendal::web
