#include "optimiser/controller.h"

#include <algorithm>
#include <filesystem>
#include <utility>

#include "io/calc_file.h"
#include "io/race_file.h"
#include "model/habitability.h"
#include "model/planet_rules.h"
#include "model/queue_edit.h"

namespace quendal {

namespace {

// The name of a file without its folder, whichever separator the path was written with.
std::string FileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

Controller::Controller() {
    model_.Planet.PlanetPrc = 100; // what the start habitability field shows first
    model_.RaceLoaded = false;
}

void Controller::LoadRace(std::string_view bytes, const std::string& path, int32_t startPrc) {
    if (model_.RaceLoaded)
        ClearRace();
    const RaceFile race = ParseRace(bytes);
    ApplyRace(model_, race.race, startPrc);
    race_ = RaceRecord{path, race.name, race.race};
    model_.RaceLoaded = true;
    calculated_ = false;
}

void Controller::ClearRace() {
    quendal::ClearRace(model_); // empties both templates
    race_.reset();
    calculated_ = false;
    // The last search was for this race: its templates are priced for it.
    ClearSearchResult();
}

void Controller::TakeStartPrc(int32_t prc) {
    quendal::TakeStartPrc(model_, prc);
}

void Controller::SetEconomy(int i, int32_t value) {
    if (i >= 0 && i < 7)
        model_.Race.Economy(i) = value;
}

void Controller::SetFullTForm(bool on) {
    model_.Race.FullTForm = on;
    for (int32_t& limit : model_.Planet.MaxTFormPrc)
        limit = std::min(limit, TFormLimitMax(on));
}

void Controller::TypeFactor(int i, int32_t value) {
    if (i >= 0 && i < 3)
        TypePlanetFactor(model_, i, value);
}

void Controller::TypeTFormLimit(int i, int32_t value) {
    if (i >= 0 && i < 3)
        quendal::TypeTFormLimit(model_, i, value);
}

void Controller::SetPlanetPrc(int32_t value) {
    model_.Planet.PlanetPrc = value;
}

void Controller::SetFactor(int i, int32_t value) {
    if (i >= 0 && i < 3)
        model_.Planet.PlanetEnv[i] = value;
}

void Controller::SetTFormLimit(int i, int32_t value) {
    if (i >= 0 && i < 3)
        model_.Planet.MaxTFormPrc[i] = value;
}

void Controller::SetFactories(int32_t value) {
    model_.Planet.PlanetFabr = value;
}

void Controller::SetMines(int32_t value) {
    model_.Planet.PlanetMine = value;
}

void Controller::SetHomeworld(bool on) {
    model_.Planet.PlanetHW = on;
    if (on)
        for (int32_t& conPrc : model_.Planet.PlanetConPrc)
            conPrc = HomeworldConPrc(conPrc);
}

void Controller::SetConcentration(int i, int32_t value) {
    if (i >= 0 && i < 3)
        model_.Planet.PlanetConPrc[i] = value;
}

void Controller::SetMineral(int i, int32_t value) {
    if (i >= 0 && i < 3)
        model_.Planet.PlanetMineral[i] = value;
}

bool Controller::FactorRowEnabled(int i) const {
    return i >= 0 && i < 3 && model_.Planet.PlanetEnv[i] != kImmune;
}

bool Controller::FactorSpinEnabled(int i) const {
    return !ImmuneFactor(model_.Race, i);
}

int32_t Controller::TFormPrc() const {
    return CalcTFormPrc(model_, model_.Planet.PlanetEnv);
}

const LIST_ITEM& Controller::Template(bool plus) const {
    return plus ? model_.QueuePlus : model_.QueueMinus;
}

bool Controller::AddElement(bool plus, int entry, const std::string& countText) {
    QueueItem item;
    if (entry < 0 || !MakeQueueElement(model_.Race, entry, countText, item))
        return false;
    return Edited(plus).Append(&item) == LIST_OK;
}

int Controller::DeleteLine(bool plus, int line) {
    return DeleteQueueLine(Edited(plus), line);
}

int Controller::MoveUp(bool plus, int line) {
    return MoveQueueLineUp(Edited(plus), line);
}

int Controller::MoveDown(bool plus, int line) {
    return MoveQueueLineDown(Edited(plus), line);
}

void Controller::ClearTemplate(bool plus) {
    Edited(plus).Clear();
}

void Controller::LoadPlanetList(std::string bytes, const std::string& path) {
    list_ = ParsePlanetList(bytes, model_.Race);
    listBytes_ = std::move(bytes);
    listPath_ = path;
    chosenEntry_ = -1;
    ranking_ = {};
}

void Controller::ShowNoList() {
    list_ = PlanetList{};
    listPath_.clear();
    listBytes_.clear();
    chosenEntry_ = -1;
    ranking_ = {};
}

int32_t Controller::ChoosePlanet(int index) {
    if (index < 0 || static_cast<size_t>(index) >= list_.planets.size())
        return -1;
    chosenEntry_ = index;
    return ApplyPlanet(model_, list_.planets[static_cast<size_t>(index)]);
}

const CalcView& Controller::Calculate(const StartFields& start) {
    StartConditions conditions;
    conditions.StartMen = start.men;
    conditions.StartPrc = start.prc;
    conditions.MenYearPrc = start.growth;
    conditions.Years = start.years;
    view_ = CalculateView(model_, conditions);
    calculated_ = true;
    return view_;
}

PlanetListChoice Controller::ListChoice() const {
    PlanetListChoice choice;
    if (list_.entries.empty())
        return choice;
    choice.path = listPath_;
    choice.entry = chosenEntry_;
    if (chosenEntry_ >= 0)
        choice.entryText = list_.entries[static_cast<size_t>(chosenEntry_)];
    return choice;
}

CalcSetup Controller::Setup(const StartFields& start, const SearchTab& search) const {
    return CaptureSetup(model_, race_, ListChoice(), start, search, view_.rows);
}

std::string Controller::Refusal(const StartFields& start, const SearchTab& search) const {
    return SetupProblem(Setup(start, search), language_);
}

std::string Controller::SearchRefusal(const SearchTab& search) const {
    return OutOfRangeField(search, std::nullopt, language_);
}

std::string Controller::CalcText(const StartFields& start, const SearchTab& search) const {
    return WriteCalcFile(Setup(start, search));
}

OpenedCalc Controller::OpenCalc(const CalcFileResult& read, const std::string& name,
                                const ListReader& readList) {
    OpenedCalc opened;
    if (read.error) {
        opened.error = Tr(language_, "Не удалось загрузить файл «%1»: %2",
                          {name, read.error->Message(language_)});
        return opened;
    }
    opened.setup = read.setup;
    const CalcSetup& setup = opened.setup;
    ClearRace();
    ApplySetup(model_, setup);
    race_ = setup.race;
    model_.RaceLoaded = setup.race.has_value();
    view_ = {};

    const PlanetListChoice& choice = setup.planetTab.list;
    std::string path = choice.path;
    std::optional<std::string> bytesOfList;
    if (!path.empty() && readList)
        bytesOfList = readList(path);
    if (!bytesOfList && !path.empty() && !listPath_.empty() &&
        FileNameOf(path) == FileNameOf(listPath_)) {
        bytesOfList = listBytes_;
        path = listPath_;
    }
    if (!bytesOfList) {
        ShowNoList();
        return opened;
    }
    LoadPlanetList(std::move(*bytesOfList), path);
    if (choice.entry < static_cast<int>(list_.entries.size()))
        chosenEntry_ = choice.entry;
    return opened;
}

std::string Controller::GenPlanet() const {
    return GenPlanetText(model_);
}

SearchTab Controller::EnterSearch(const StartFields& start, SearchTab shown) const {
    shown.interval = SearchInterval(start.years);
    shown.landing = start.men;
    return shown;
}

GeneticInputs Controller::SearchInputs(const SearchTab& search, int32_t growth,
                                       std::optional<uint32_t> seed) const {
    return SearchInputsOf(search, model_.Planet.PlanetPrc, growth, seed, language_);
}

GeneticResults Controller::RunSearch(GeneticRun& run, const GeneticInputs& inputs) {
    searching_ = true;
    struct Idle {
        bool& searching;
        ~Idle() { searching = false; }
    } idle{searching_};
    return run.Run(model_, inputs);
}

bool Controller::AdoptSearchResult(std::string_view calText) {
    const CalcFileResult read = ParseCalcFile(calText);
    if (read.error || !read.setup.search.result)
        return false;
    ApplySearchOutcome(model_.GeneticState, read.setup.search.result);
    return true;
}

void Controller::ClearSearchResult() {
    quendal::ClearSearchResult(model_.GeneticState);
}

StartFields Controller::TakeFound(StartFields shown, const SearchTab& search) {
    CopyToTemplates(model_);
    shown.years = search.interval;
    shown.men = search.landing;
    return shown;
}

RankInput Controller::TakeRankInput(const StartFields& start, const SearchTab& search,
                                    uint32_t seed) const {
    RankInput input;
    if (!model_.RaceLoaded)
        return input;
    input.refusal = Refusal(start, search);
    input.base = model_;
    input.planets = list_.planets;
    input.entries = list_.entries;
    RankSettings& settings = input.settings;
    settings.years = std::min(start.years, kMaxShownYears);
    settings.growth = start.growth;
    settings.startPrc = start.prc;
    settings.params = search.params;
    settings.seed = seed;
    return input;
}

void Controller::KeepRanking(RankOutcome outcome) {
    ranking_ = std::move(outcome);
}

int32_t Controller::UseRankedRow(const RankedPlanet& row, bool searched) {
    if (!model_.RaceLoaded)
        return -1;
    const int32_t men = ChoosePlanet(row.index);
    if (men < 0 || !searched)
        return men;
    FillTemplate(model_.QueueMinus, row.foundMinus);
    FillTemplate(model_.QueuePlus, row.foundPlus);
    return men;
}

} // namespace quendal
