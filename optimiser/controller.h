#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "io/calc_file.h"
#include "io/planet_list.h"
#include "model/calc_model.h"
#include "model/calc_setup.h"
#include "model/output.h"
#include "optimiser/genetic_run.h"
#include "optimiser/planet_rank.h"

namespace quendal {

// What a ranking starts from: the model as the front end holds it when the ranking starts,
// the planet list and the settings every planet shares.
struct RankInput {
    CalcModel base;                   // the race, the templates and the additional parameters
    std::vector<PlanetEntry> planets; // the loaded planet list
    std::vector<std::string> entries; // its entry texts
    RankSettings settings;
    std::string refusal; // why the setup cannot be ranked; empty when it can
};

// The last ranking a front end showed: its rows (of the planets that ended, after an
// interrupt), whether it searched, and how many planets it was for.
struct RankOutcome {
    std::vector<RankedPlanet> rows;
    bool searched = false;
    int32_t total = 0;
};

// The answer to opening a calculation file: the calculation to show, or why it was refused.
struct OpenedCalc {
    std::string error; // the one-line message; empty when the file was taken
    CalcSetup setup;   // as read: the start fields, the search tab and its result to show
};

// The program's one controller, shared by the window and the page: the model the controls
// edit, with what the front end keeps beside it (the race as loaded, the planet list and its
// entry, the rows last calculated, the search's snapshot and result, the last ranking), and
// the rule of every control's action. A front end reads its control, calls the controller and
// shows what the controller holds or answers; it keeps no rule of its own.
class Controller {
public:
    Controller();

    // The language of the texts it answers with: messages, template lines, the search's times
    // and lines. Russian at first.
    void SetLanguage(Language language) { language_ = language; }
    Language TextLanguage() const { return language_; }

    const CalcModel& Model() const { return model_; }
    CalcModel& Model() { return model_; }
    bool RaceLoaded() const { return model_.RaceLoaded; }
    const std::optional<RaceRecord>& Race() const { return race_; }

    // The race button: a race file's bytes (UTF-8 or Windows-1251; a file that could not be
    // read gives an empty race, as missing keys do) loaded with the start field's
    // habitability, clearing a loaded race first; and the race cleared with its templates and
    // search result.
    void LoadRace(std::string_view bytes, const std::string& path, int32_t startPrc);
    void ClearRace();

    // Leaving "Динамика планеты": its start habitability field is taken.
    void TakeStartPrc(int32_t prc);

    // "Дополнительные параметры", a field at a time. Full terraforming brings the limits above
    // what the box then offers down to it; a homeworld raises low concentrations.
    void SetEconomy(int i, int32_t value);
    void SetFullTForm(bool on);
    void TypeFactor(int i, int32_t value);
    void TypeTFormLimit(int i, int32_t value);
    void SetPlanetPrc(int32_t value);
    void SetFactor(int i, int32_t value);
    void SetTFormLimit(int i, int32_t value);
    void SetFactories(int32_t value);
    void SetMines(int32_t value);
    void SetHomeworld(bool on);
    void SetConcentration(int i, int32_t value);
    void SetMineral(int i, int32_t value);
    // A factor's row: its fields take typing while it does not hold the immune mark, its spins
    // while the race is not immune to it (a spin would write a value the race cannot have).
    bool FactorRowEnabled(int i) const;
    bool FactorSpinEnabled(int i) const;
    // The habitability reachable by all the terraforming the limits allow.
    int32_t TFormPrc() const;

    // The template buttons; `plus` chooses the template for a habitable planet. AddElement
    // gives whether the element was added; the moves and the deletion give the line selected
    // afterwards as the core's queue editing answers it.
    const LIST_ITEM& Template(bool plus) const;
    bool AddElement(bool plus, int entry, const std::string& countText);
    int DeleteLine(bool plus, int line);
    int MoveUp(bool plus, int line);
    int MoveDown(bool plus, int line);
    void ClearTemplate(bool plus);

    // A planet list read (none of its entries chosen), and an entry chosen, which gives the
    // entry's colonists for the start field (-1 for no entry). Reading a list forgets the last
    // ranking, which was another list's.
    void LoadPlanetList(std::string bytes, const std::string& path);
    int32_t ChoosePlanet(int index);
    const PlanetList& List() const { return list_; }
    const std::string& ListPath() const { return listPath_; }
    const std::string& ListBytes() const { return listBytes_; }
    int ChosenEntry() const { return chosenEntry_; }

    // "Расчет": the displayed calculation from the start fields; its rows are kept for a
    // calculation file, and saving is possible from then on.
    const CalcView& Calculate(const StartFields& start);
    const CalcView& LastCalculation() const { return view_; }
    // "Сохранить" is enabled once a calculation has been shown (loading or clearing a race
    // disables it until the next) and while no search runs.
    bool CanSave() const { return calculated_ && !searching_; }
    void SetSearching(bool running) { searching_ = running; }

    // The whole calculation the front end shows, with the fields the model does not hold.
    CalcSetup Setup(const StartFields& start, const SearchTab& search) const;
    // Why that calculation cannot be saved, linked or ranked (a field its reader would
    // refuse, named as the player knows it); empty when it can.
    std::string Refusal(const StartFields& start, const SearchTab& search) const;
    // Why the search tab cannot start a search; empty when it can.
    std::string SearchRefusal(const SearchTab& search) const;
    // The calculation file's text of that calculation.
    std::string CalcText(const StartFields& start, const SearchTab& search) const;

    // Opens a calculation file as "Загрузить" does: the model set up as if typed, the race
    // loaded, the search result restored, then the planet list it names read again when it is
    // still there: `readList` fetches a list by its saved path as the front end can (the
    // window from the disk; may be empty), else the list the front end holds is kept when its
    // file has the same name. Its entry is shown as chosen; the planet's values are the file's.
    // A refused file changes nothing. `read` is the file as its reader took it (ReadCalcFile
    // or ParseCalcFile); `name` is how the message names the file.
    using ListReader = std::function<std::optional<std::string>(const std::string& path)>;
    OpenedCalc OpenCalc(const CalcFileResult& read, const std::string& name,
                        const ListReader& readList);

    // The search tab. Entering it: the planet as the search takes it, the trial's years from
    // the years (SearchInterval) and its colonists from the start colonists. A search runs on
    // the model (its snapshot ends with the result); a page's worker found one elsewhere and
    // it is adopted as a calculation file's search result.
    std::string GenPlanet() const;
    SearchTab EnterSearch(const StartFields& start, SearchTab shown) const;
    GeneticInputs SearchInputs(const SearchTab& search, int32_t growth,
                               std::optional<uint32_t> seed) const;
    GeneticResults RunSearch(GeneticRun& run, const GeneticInputs& inputs);
    bool AdoptSearchResult(std::string_view calText);
    bool HasSearchResult() const { return model_.GeneticState.searched; }
    void ClearSearchResult();
    // "В график": the found templates become the templates, and the start fields take the
    // trial's years and colonists; gives the start fields to show.
    StartFields TakeFound(StartFields shown, const SearchTab& search);

    // "Рейтинг…": what a ranking starts from; the rows it ended with (an interrupted one's
    // too), kept until the list changes; and a row taken, which chooses its entry and, for a
    // ranking by search, puts the templates found into the templates. UseRankedRow gives the
    // entry's colonists for the start field, -1 when the row cannot be taken.
    RankInput TakeRankInput(const StartFields& start, const SearchTab& search, uint32_t seed) const;
    void KeepRanking(RankOutcome outcome);
    const RankOutcome& LastRanking() const { return ranking_; }
    int32_t UseRankedRow(const RankedPlanet& row, bool searched);

private:
    LIST_ITEM& Edited(bool plus) { return plus ? model_.QueuePlus : model_.QueueMinus; }
    PlanetListChoice ListChoice() const;
    void ShowNoList();

    CalcModel model_;
    std::optional<RaceRecord> race_;
    PlanetList list_;
    std::string listPath_;
    std::string listBytes_; // read again with the race of a calculation file
    int chosenEntry_ = -1;
    CalcView view_;
    bool calculated_ = false;
    bool searching_ = false;
    RankOutcome ranking_;
    Language language_;
};

} // namespace quendal
