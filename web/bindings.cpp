// The page's way into the core: the program's controller (optimiser/controller.h) with the
// answers web/page_answers.h makes of it, and the texts the page takes from the core, in the
// page's language. The workers' jobs are in search_job.cpp and rank_job.cpp.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <string>
#include <vector>

#include "model/numbers.h"
#include "optimiser/controller.h"
#include "web/page_answers.h"

namespace quendal::web {

namespace {

using emscripten::val;

std::vector<int> Ints(const val& array) {
    return emscripten::vecFromJSArray<int>(array);
}

PageFields Fields(const val& values) {
    return FieldsOf(Ints(values));
}

std::string State(const Controller& c) {
    return StateAnswer(c);
}

std::string Calculate(Controller& c, const val& values) {
    return CalculateAnswer(c, Fields(values));
}

std::string Refusal(const Controller& c, const val& values) {
    const PageFields f = Fields(values);
    return c.Refusal(f.start, f.search);
}

std::string SearchRefusal(const Controller& c, const val& values) {
    return c.SearchRefusal(Fields(values).search);
}

std::string SaveCalc(const Controller& c, const val& values) {
    const PageFields f = Fields(values);
    return c.CalcText(f.start, f.search);
}

std::string OpenCalc(Controller& c, const std::string& bytes, const std::string& name) {
    return OpenCalcAnswer(c, bytes, name);
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

// Entering the search tab: [trial years, trial colonists] to show.
val EnterSearch(const Controller& c, const val& values) {
    const PageFields f = Fields(values);
    const SearchTab search = c.EnterSearch(f.start, f.search);
    return val::array(std::vector<int>{search.interval, search.landing});
}

// "В график": [years, colonists] to show.
val TakeFound(Controller& c, const val& values) {
    const PageFields f = Fields(values);
    const StartFields start = c.TakeFound(f.start, f.search);
    return val::array(std::vector<int>{start.years, start.men});
}

bool AdoptSearchResult(Controller& c, const std::string& calText) {
    return c.AdoptSearchResult(calText);
}

int LeadingIntOf(const std::string& text) {
    return LeadingInt(text);
}

// The code of the language a locale or a browser's language tag asks for.
std::string LanguageForLocale(const std::string& locale) {
    return std::string(Language::ForLocale(locale).Code());
}

// The language of the core's texts, by its code ("ru", "en"; Russian for one without a
// catalogue): the controller's, and this instance's for the workers' jobs and the captions.
void SetLanguage(const std::string& code) {
    PageLanguage() = Language::OfCode(code).value_or(Language());
}

void SetControllerLanguage(Controller& c, const std::string& code) {
    SetLanguage(code);
    c.SetLanguage(PageLanguage());
}

std::string Captions() {
    return CaptionsAnswer(PageLanguage());
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
        .function("enterSearch", &EnterSearch)
        .function("takeFound", &TakeFound)
        .function("clearSearchResult", &Controller::ClearSearchResult)
        .function("listBytes", &ListBytes)
        .function("useRankedPlanet", &UseRankedPlanet)
        .function("state", &State)
        .function("setLanguage", &SetControllerLanguage);
    emscripten::function("captions", &Captions);
    emscripten::function("setLanguage", &SetLanguage);
    emscripten::function("languageForLocale", &LanguageForLocale);
    emscripten::function("leadingInt", &LeadingIntOf);
}

} // namespace quendal::web
