#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "io/planet_list.h"
#include "model/calc_model.h"
#include "model/calc_setup.h"

namespace quendal::web {

// The page's calculation: the model the window's controls edit, with what the window keeps
// beside it (the race as loaded, the planet list, the rows last calculated, the last ranking).
// Every rule is the core's; this class only routes the page's actions to it and answers in
// JSON texts that the page shows as they are.
class Session {
public:
    // The race button: a race file's bytes (UTF-8 or Windows-1251) loaded as the window loads
    // one, `startPrc` being the start field's value; and the race cleared.
    void LoadRace(const std::string& bytes, const std::string& path, int startPrc);
    void ClearRace();

    // Leaving "Динамика планеты": the start habitability field is taken.
    void TakeStartPrc(int prc);

    // "Дополнительные параметры", each field as it is typed.
    void SetEconomy(int i, int value);
    void SetFullTForm(bool on);
    void TypeFactor(int i, int value);
    void TypeTFormLimit(int i, int value);
    void SetFactories(int value);
    void SetMines(int value);
    void SetHomeworld(bool on);
    void SetConcentration(int i, int value);
    void SetMineral(int i, int value);

    // The template buttons; `plus` chooses the template for a habitable planet. Each returns
    // the line selected afterwards (-1 none).
    bool AddElement(bool plus, int entry, const std::string& countText);
    int DeleteLine(bool plus, int line);
    int MoveUp(bool plus, int line);
    int MoveDown(bool plus, int line);
    void ClearTemplate(bool plus);

    // A planet list read (its entries shown, none chosen) and an entry chosen; the latter
    // returns the entry's colonists for the start field.
    void LoadPlanetList(const std::string& bytes, const std::string& path);
    int ChoosePlanet(int index);

    // "Расчет": the two tables' lines and the chart's series as JSON.
    std::string Calculate(int prc, int men, int growth, int years);

    // The calculation file of the page's state, `values` being the fields the model does not
    // hold: start habitability, colonists, growth, years, П1..П6, criterion, interval, landing.
    // And one opened: JSON {"error": message} when refused (nothing changes), else the start
    // fields and the search tab to show, after which the page calculates.
    std::string SaveCalc(const std::vector<int>& values) const;
    std::string OpenCalc(const std::string& bytes, const std::string& path);

    // The search result a worker found (as a calculation file of its own) put into the
    // search snapshot; "В график"; the search result forgotten.
    std::string AdoptSearchResult(const std::string& calText);
    void CopyFoundToTemplates();
    void ClearSearchResult();

    // The planet list's bytes, for the ranking in the worker; and a ranked row picked as the
    // ranking view's pick does it: its entry chosen and, for a ranking by search, the templates
    // found (each element [kind, unit cost, count]) put into the templates. Returns the
    // entry's colonists for the start field (-1 for no pick); the page then calculates.
    const std::string& ListBytes() const { return listBytes_; }
    int UseRankedPlanet(int index, const std::vector<QueueItem>& minus,
                        const std::vector<QueueItem>& plus, bool searched);

    // Everything the page shows of the model, as JSON.
    std::string State() const;

private:
    LIST_ITEM& Template(bool plus) { return plus ? model_.QueuePlus : model_.QueueMinus; }
    CalcSetup Setup(const std::vector<int>& values) const;

    CalcModel model_;
    std::optional<RaceRecord> race_;
    PlanetList list_;
    std::string listPath_;
    std::string listBytes_; // read again with the race of a calculation file
    int chosenEntry_ = -1;
    std::vector<YearResult> rows_;
};

} // namespace quendal::web
