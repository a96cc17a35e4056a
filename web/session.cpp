#include "web/session.h"

#include <algorithm>
#include <utility>

#include "io/calc_file.h"
#include "io/race_file.h"
#include "model/habitability.h"
#include "model/output.h"
#include "model/planet_rules.h"
#include "model/queue_edit.h"
#include "model/simulation.h"
#include "optimiser/genetic_run.h"
#include "web/json_out.h"

namespace quendal::web {

namespace {

void WriteFigures(JsonOut& out, const PlanetFigures& f) {
    out.BeginArray();
    for (const int64_t figure : ShownFigures(f))
        out.Int(figure);
    out.EndArray();
}

// The search tab's fields as the page holds them: П1..П6, criterion, interval, landing.
void WriteSearchTab(JsonOut& out, const SearchTab& search) {
    out.Key("params").BeginArray();
    for (int i = 0; i < 6; ++i)
        out.Int(search.params[i]);
    out.EndArray();
    out.Key("criterion").Int(static_cast<int>(search.criterion));
    out.Key("interval").Int(search.interval).Key("landing").Int(search.landing);
}

} // namespace

void Session::LoadRace(const std::string& bytes, const std::string& path, int startPrc) {
    if (model_.RaceLoaded)
        ClearRace();
    const RaceFile race = ParseRace(bytes);
    ApplyRace(model_, race.race, startPrc);
    race_ = RaceRecord{path, race.name, race.race};
    model_.RaceLoaded = true;
}

void Session::ClearRace() {
    quendal::ClearRace(model_);
    race_.reset();
    ClearSearchResult();
}

void Session::TakeStartPrc(int prc) {
    quendal::TakeStartPrc(model_, prc);
}

void Session::SetEconomy(int i, int value) {
    model_.Race.Economy(i) = value;
}

// A limit above what the box now offers comes down to it.
void Session::SetFullTForm(bool on) {
    model_.Race.FullTForm = on;
    for (int32_t& limit : model_.Planet.MaxTFormPrc)
        limit = std::min(limit, TFormLimitMax(on));
}

void Session::TypeFactor(int i, int value) {
    TypePlanetFactor(model_, i, value);
}

void Session::TypeTFormLimit(int i, int value) {
    quendal::TypeTFormLimit(model_, i, value);
}

void Session::SetFactories(int value) {
    model_.Planet.PlanetFabr = value;
}

void Session::SetMines(int value) {
    model_.Planet.PlanetMine = value;
}

void Session::SetHomeworld(bool on) {
    model_.Planet.PlanetHW = on;
    if (on)
        for (int32_t& conPrc : model_.Planet.PlanetConPrc)
            conPrc = HomeworldConPrc(conPrc);
}

void Session::SetConcentration(int i, int value) {
    model_.Planet.PlanetConPrc[i] = value;
}

void Session::SetMineral(int i, int value) {
    model_.Planet.PlanetMineral[i] = value;
}

bool Session::AddElement(bool plus, int entry, const std::string& countText) {
    QueueItem item;
    if (!MakeQueueElement(model_.Race, entry, countText, item))
        return false;
    return Template(plus).Append(&item) == LIST_OK;
}

int Session::DeleteLine(bool plus, int line) {
    return DeleteQueueLine(Template(plus), line);
}

int Session::MoveUp(bool plus, int line) {
    return MoveQueueLineUp(Template(plus), line);
}

int Session::MoveDown(bool plus, int line) {
    return MoveQueueLineDown(Template(plus), line);
}

void Session::ClearTemplate(bool plus) {
    Template(plus).Clear();
}

void Session::LoadPlanetList(const std::string& bytes, const std::string& path) {
    list_ = ParsePlanetList(bytes, model_.Race);
    listBytes_ = bytes;
    listPath_ = path;
    chosenEntry_ = -1;
}

int Session::ChoosePlanet(int index) {
    if (index < 0 || static_cast<size_t>(index) >= list_.planets.size())
        return -1;
    chosenEntry_ = index;
    return ApplyPlanet(model_, list_.planets[static_cast<size_t>(index)]);
}

std::string Session::Calculate(int prc, int men, int growth, int years) {
    StartConditions start;
    start.StartMen = men;
    start.StartPrc = prc;
    start.MenYearPrc = growth;
    start.Years = years;
    CalcView view = CalculateView(model_, start);
    rows_ = std::move(view.rows);
    JsonOut data, minerals, chart;
    data.Strings(view.dataLines);
    minerals.Strings(view.mineralLines);
    chart.BeginArray();
    for (const std::array<double, 6>& p : view.chartPoints) {
        chart.BeginArray();
        for (const double figure : p)
            chart.Double(figure);
        chart.EndArray();
    }
    chart.EndArray();
    JsonOut shown;
    shown.Begin()
        .Key("resources")
        .Bool(view.plotted[2])
        .Key("factories")
        .Bool(view.plotted[3])
        .Key("mines")
        .Bool(view.plotted[4])
        .End();
    return "{\"data\":" + data.Text() + ",\"minerals\":" + minerals.Text() +
           ",\"chart\":" + chart.Text() + ",\"shown\":" + shown.Text() + "}";
}

CalcSetup Session::Setup(const std::vector<int>& v) const {
    auto at = [&](size_t i) { return i < v.size() ? v[i] : 0; };
    PlanetListChoice list;
    if (!list_.entries.empty()) {
        list.path = listPath_;
        list.entry = chosenEntry_;
        if (chosenEntry_ >= 0)
            list.entryText = list_.entries[static_cast<size_t>(chosenEntry_)];
    }
    SearchTab search;
    for (int i = 0; i < 6; ++i)
        search.params[i] = at(4 + static_cast<size_t>(i));
    search.criterion = static_cast<Criterion>(std::clamp(at(10), 0, 5));
    search.interval = at(11);
    search.landing = at(12);
    return CaptureSetup(model_, race_, list, {at(0), at(1), at(2), at(3)}, search, rows_);
}

std::string Session::SaveCalc(const std::vector<int>& values) const {
    return WriteCalcFile(Setup(values));
}

std::string Session::OpenCalc(const std::string& bytes, const std::string& path) {
    const CalcFileResult read = ParseCalcFile(bytes);
    JsonOut out;
    out.Begin();
    if (read.error) {
        out.Key("error").String("Не удалось загрузить файл «" + path +
                                "»: " + read.error->Message(true));
        return out.End().Text();
    }
    const CalcSetup& setup = read.setup;
    ApplySetup(model_, setup);
    race_ = setup.race;
    model_.RaceLoaded = setup.race.has_value();
    rows_.clear();
    // The list is read again when the page holds it still (the same name): its entry is shown
    // as chosen, the planet's values are the file's.
    const PlanetListChoice& choice = setup.planetTab.list;
    if (choice.path.empty() || choice.path != listPath_) {
        list_ = PlanetList{};
        listPath_.clear();
        listBytes_.clear();
        chosenEntry_ = -1;
    } else {
        list_ = ParsePlanetList(listBytes_, model_.Race);
        chosenEntry_ = choice.entry < static_cast<int>(list_.entries.size()) ? choice.entry : -1;
    }
    const StartFields& s = setup.start;
    out.Key("prc").Int(s.prc);
    out.Key("men").Int(s.men).Key("growth").Int(s.growth).Key("years").Int(s.years);
    WriteSearchTab(out, setup.search);
    out.Key("result");
    if (setup.search.result) {
        out.Begin().Key("figures");
        WriteFigures(out, setup.search.result->figures);
        out.Key("minus").Strings(TemplateLines(setup.search.result->minus));
        out.Key("plus").Strings(TemplateLines(setup.search.result->plus));
        out.End();
    } else {
        out.Null();
    }
    return out.End().Text();
}

std::string Session::AdoptSearchResult(const std::string& calText) {
    const CalcFileResult read = ParseCalcFile(calText);
    if (!read.error)
        ApplySearchOutcome(model_.GeneticState, read.setup.search.result);
    return GenPlanetText(model_);
}

void Session::CopyFoundToTemplates() {
    CopyToTemplates(model_);
}

void Session::ClearSearchResult() {
    quendal::ClearSearchResult(model_.GeneticState);
}

int Session::UseRankedPlanet(int index, const std::vector<QueueItem>& minus,
                             const std::vector<QueueItem>& plus, bool searched) {
    if (!model_.RaceLoaded)
        return -1;
    const int men = ChoosePlanet(index);
    if (men < 0 || !searched)
        return men;
    for (const auto& [items, queue] :
         {std::pair{&minus, &model_.QueueMinus}, std::pair{&plus, &model_.QueuePlus}}) {
        queue->Clear();
        for (const QueueItem& item : *items)
            queue->Append(&item);
    }
    return men;
}

} // namespace quendal::web
