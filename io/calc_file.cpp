#include "io/calc_file.h"

#include <cstdint>
#include <cstdio>
#include <limits>
#include <map>
#include <vector>

#include "io/file_bytes.h"
#include "io/text_codec.h"
#include "model/numbers.h"

namespace quendal {

namespace {

constexpr int32_t kVersion = 1;
constexpr int64_t kInt32Min = std::numeric_limits<int32_t>::min();
constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();
// What a race file holds: numbers of at most nine characters, names of at most 49.
constexpr int64_t kRaceNumberMin = -99999999;
constexpr int64_t kRaceNumberMax = 999999999;
constexpr size_t kRaceNameMax = 49;
// A factor field takes three digits and a sign.
constexpr int64_t kEnvMin = -99;
constexpr int64_t kEnvMax = 999;
constexpr int32_t kFullTFormBit = 512; // of the race file's Advantage

const char* const kBoundKeys[6] = {"Env0Min", "Env0Max", "Env1Min",
                                   "Env1Max", "Env2Min", "Env2Max"};
const char* const kEconomyKeys[7] = {"NColonistYTo1Resource", "NResourceYFrom10Factory",
                                     "NResourceBuildFactory", "NFactoryWork10000",
                                     "NResourceBuildMine",    "NMineWork10000",
                                     "NMineralYFrom10Mine"};
const char* const kSearchKeys[6] = {"Population", "Generations", "Elite",
                                    "Survival",   "Mutation",    "Crossover"};
const char* const kRaceSections[5] = {"Step1", "Step2", "Step3", "Step4", "Planet"};

int32_t* BoundOf(RaceParams& race, int i) {
    int32_t* const bounds[6] = {&race.Env0Min, &race.Env0Max, &race.Env1Min,
                                &race.Env1Max, &race.Env2Min, &race.Env2Max};
    return bounds[i];
}

std::string_view Trim(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (;;) {
        const size_t at = text.find(separator);
        parts.push_back(text.substr(0, at));
        if (at == std::string_view::npos)
            return parts;
        text.remove_prefix(at + 1);
    }
}

// A value as a message quotes it: at most 40 characters.
std::string Quoted(std::string_view value) {
    return std::string(Utf8Prefix(value, 40)) + (Utf8Length(value) > 40 ? "..." : "");
}

struct Failure {
    CalcFileError error;
};

[[noreturn]] void Fail(int line, std::string key, std::string english, std::string russian) {
    throw Failure{{line, std::move(key), std::move(english), std::move(russian)}};
}

struct Entry {
    std::string value;
    int line = 0;
};

// The file's sections and keys as read, before any value is looked at.
class Sections {
public:
    explicit Sections(std::string_view text) { Read(text); }

    bool Has(const std::string& section) const { return sections_.count(section) != 0; }

    // The entry of a key that must be there.
    const Entry& Get(const std::string& section, const std::string& key) const {
        const auto found = sections_.find(section);
        if (found == sections_.end())
            Fail(0, "[" + section + "]", "the section is missing", "нет раздела");
        const auto entry = found->second.find(key);
        if (entry == found->second.end())
            Fail(0, Name(section, key), "the key is missing", "нет ключа");
        return entry->second;
    }

    int64_t Number(const std::string& section, const std::string& key, int64_t lo,
                   int64_t hi) const {
        const Entry& entry = Get(section, key);
        return NumberOf(Trim(entry.value), entry.line, Name(section, key), lo, hi);
    }

    // Three numbers separated by commas.
    std::vector<int32_t> Triple(const std::string& section, const std::string& key, int64_t lo,
                                int64_t hi) const {
        const Entry& entry = Get(section, key);
        const std::vector<std::string_view> parts = Split(entry.value, ',');
        if (parts.size() != 3)
            Fail(entry.line, Name(section, key),
                 "'" + Quoted(entry.value) + "' is not three numbers separated by commas",
                 "«" + Quoted(entry.value) + "» — не три числа через запятую");
        std::vector<int32_t> values;
        for (std::string_view part : parts)
            values.push_back(
                static_cast<int32_t>(NumberOf(Trim(part), entry.line, Name(section, key), lo, hi)));
        return values;
    }

    const std::string& Text(const std::string& section, const std::string& key) const {
        return Get(section, key).value;
    }

    // The values of keys Year0, Year1, ... of a table section, which must not leave a gap.
    std::vector<std::string> Rows(const std::string& section) const {
        std::vector<std::string> rows;
        const auto found = sections_.find(section);
        if (found == sections_.end())
            return rows;
        std::map<int64_t, const Entry*> numbered;
        for (const auto& [key, entry] : found->second) {
            if (key.rfind("Year", 0) != 0)
                continue;
            const std::optional<int64_t> year = StrictInt(key.substr(4));
            if (year && *year >= 0 && "Year" + std::to_string(*year) == key)
                numbered[*year] = &entry;
        }
        for (const auto& [year, entry] : numbered) {
            if (year != static_cast<int64_t>(rows.size()))
                Fail(entry->line, Name(section, "Year" + std::to_string(year)),
                     "the rows before it are missing from Year" + std::to_string(rows.size()),
                     "нет строк перед ней, начиная с Year" + std::to_string(rows.size()));
            rows.push_back(entry->value);
        }
        return rows;
    }

    static std::string Name(const std::string& section, const std::string& key) {
        return "[" + section + "] " + key;
    }

    static int64_t NumberOf(std::string_view text, int line, const std::string& name, int64_t lo,
                            int64_t hi) {
        const std::optional<int64_t> value = StrictInt(text);
        if (!value)
            Fail(line, name, "'" + Quoted(text) + "' is not a whole number",
                 "«" + Quoted(text) + "» — не целое число");
        if (*value < lo || *value > hi)
            Fail(line, name,
                 std::to_string(*value) + " is outside " + std::to_string(lo) + ".." +
                     std::to_string(hi),
                 std::to_string(*value) + " вне " + std::to_string(lo) + ".." + std::to_string(hi));
        return *value;
    }

private:
    void Read(std::string_view text) {
        std::vector<std::string_view> lines = Split(text, '\n');
        for (std::string_view& raw : lines)
            if (!raw.empty() && raw.back() == '\r')
                raw.remove_suffix(1);
        if (Trim(lines.front()) != kCalcFileMagic)
            Fail(1, "",
                 std::string("not a calculation file: the first line is not ") + kCalcFileMagic,
                 std::string("не файл расчета: первая строка не ") + kCalcFileMagic);
        // A file cut short says so, rather than what its broken last line is.
        bool complete = false;
        for (std::string_view raw : lines)
            complete = complete || Trim(raw) == "[End]";
        if (!complete)
            Fail(static_cast<int>(lines.size()), "", "the file ends before [End]: it was cut short",
                 "файл обрывается до [End]: он не дописан");
        int line = 0;
        std::string section;
        bool ended = false;
        for (std::string_view raw : lines) {
            ++line;
            const std::string_view trimmed = Trim(raw);
            if (line == 1) {
                section = std::string(trimmed.substr(1, trimmed.size() - 2));
                sections_[section];
                continue;
            }
            if (ended) {
                if (!trimmed.empty())
                    Fail(line, "", "text after [End]", "текст после [End]");
                continue;
            }
            if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#')
                continue;
            if (trimmed.front() == '[' && trimmed.back() == ']' && trimmed.size() > 2) {
                section = std::string(trimmed.substr(1, trimmed.size() - 2));
                if (!sections_.emplace(section, std::map<std::string, Entry>()).second)
                    Fail(line, "[" + section + "]", "the section is given twice",
                         "раздел указан дважды");
                ended = section == "End";
                continue;
            }
            const size_t equals = raw.find('=');
            const std::string key(
                Trim(raw.substr(0, equals == std::string_view::npos ? 0 : equals)));
            if (equals == std::string_view::npos || key.empty())
                Fail(line, "",
                     "'" + Quoted(trimmed) + "' is neither a section, a key nor a comment",
                     "«" + Quoted(trimmed) + "» — не раздел, не ключ и не комментарий");
            const auto [at, added] =
                sections_[section].emplace(key, Entry{std::string(raw.substr(equals + 1)), line});
            if (!added)
                Fail(line, Name(section, key),
                     "the key is given twice (first on line " + std::to_string(at->second.line) +
                         ")",
                     "ключ указан дважды (впервые в строке " + std::to_string(at->second.line) +
                         ")");
        }
    }

    std::map<std::string, std::map<std::string, Entry>> sections_;
};

// Refuses bytes that text never holds: NUL and the control characters other than tab, line
// feed and a carriage return before a line feed.
void CheckText(std::string_view bytes) {
    int line = 1;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c == '\n')
            ++line;
        const bool lineEnd = c == '\r' && (i + 1 == bytes.size() || bytes[i + 1] == '\n');
        if ((c < 0x20 && c != '\t' && c != '\n' && !lineEnd) || c == 0x7f) {
            char code[8];
            std::snprintf(code, sizeof code, "0x%02X", c);
            Fail(line, "", std::string("binary data (byte ") + code + "): not a text file",
                 std::string("двоичные данные (байт ") + code + "): не текстовый файл");
        }
    }
}

// One template element: min, min:N, max:N, fab:N, mine:N, then @C for a unit cost.
QueueItem ParseElement(std::string_view text, int line, const std::string& name,
                       const PlanetTab& tab) {
    const size_t at = text.find('@');
    std::string_view head = text.substr(0, at);
    const size_t colon = head.find(':');
    const std::string_view kind = Trim(head.substr(0, colon));
    QueueItem item;
    item.kind = KindOfWord(kind);
    if (item.kind == 0)
        Fail(line, name, "unknown element '" + Quoted(text) + "' (min, max:N, fab:N or mine:N)",
             "неизвестный элемент «" + Quoted(text) + "» (min, max:N, fab:N или mine:N)");
    if (colon == std::string_view::npos && item.kind != MinTerraform)
        Fail(line, name, "'" + Quoted(text) + "' needs a count, as in fab:5",
             "«" + Quoted(text) + "» без числа, нужно как в fab:5");
    item.count = colon == std::string_view::npos
                     ? 1
                     : static_cast<int32_t>(Sections::NumberOf(Trim(head.substr(colon + 1)), line,
                                                               name, 1, kInt32Max));
    item.unitCost = at == std::string_view::npos
                        ? DefaultUnitCost(item.kind, tab)
                        : static_cast<int32_t>(Sections::NumberOf(Trim(text.substr(at + 1)), line,
                                                                  name, kInt32Min, kInt32Max));
    return item;
}

std::vector<QueueItem> Elements(const Sections& file, const std::string& section,
                                const std::string& key, const PlanetTab& tab) {
    const Entry& entry = file.Get(section, key);
    std::vector<QueueItem> items;
    if (Trim(entry.value).empty())
        return items;
    for (std::string_view part : Split(entry.value, ','))
        items.push_back(ParseElement(Trim(part), entry.line, Sections::Name(section, key), tab));
    return items;
}

int32_t Int(const Sections& file, const std::string& section, const std::string& key,
            int64_t lo = kInt32Min, int64_t hi = kInt32Max) {
    return static_cast<int32_t>(file.Number(section, key, lo, hi));
}

void ReadVersion(const Sections& file) {
    const Entry& entry = file.Get("QuendalCalculation", "Version");
    const std::optional<int64_t> version = StrictInt(Trim(entry.value));
    if (version && *version > kVersion)
        Fail(entry.line, "[QuendalCalculation] Version",
             "version " + std::to_string(*version) +
                 " was written by a newer Quendal (this one reads version 1)",
             "версия " + std::to_string(*version) +
                 " записана более новым Quendal (этот читает версию 1)");
    if (version != kVersion)
        Fail(entry.line, "[QuendalCalculation] Version",
             "unknown version '" + Quoted(entry.value) + "'",
             "неизвестная версия «" + Quoted(entry.value) + "»");
}

RaceRecord ReadRace(const Sections& file) {
    RaceRecord record;
    record.path = file.Text("Step1", "RaceFile");
    record.name = file.Text("Step1", "RaceName");
    if (Utf8Length(record.name) > kRaceNameMax)
        Fail(file.Get("Step1", "RaceName").line, "[Step1] RaceName",
             "longer than the 49 characters a race file holds",
             "длиннее 49 символов, которые вмещает файл расы");
    RaceParams& race = record.race;
    for (int i = 0; i < 6; ++i)
        *BoundOf(race, i) = Int(file, "Step2", kBoundKeys[i], kRaceNumberMin, kRaceNumberMax);
    race.MaxGrowthYRate = Int(file, "Step2", "MaxGrowthYRate", kRaceNumberMin, kRaceNumberMax);
    for (int i = 0; i < 7; ++i)
        race.Economy(i) = Int(file, "Step3", kEconomyKeys[i], kRaceNumberMin, kRaceNumberMax);
    race.FullTForm =
        (Int(file, "Step4", "Advantage", kRaceNumberMin, kRaceNumberMax) & kFullTFormBit) != 0;
    race.DeriveOptimum();
    return record;
}

PlanetTab ReadPlanetTab(const Sections& file) {
    PlanetTab tab;
    const std::string s = "Planet";
    for (int i = 0; i < 7; ++i)
        tab.economy[i] = Int(file, s, kEconomyKeys[i]);
    tab.fullTForm = Int(file, s, "FullTForm", 0, 1) != 0;
    PlanetParams& p = tab.planet;
    const std::vector<int32_t> env = file.Triple(s, "Env", kEnvMin, kEnvMax);
    const std::vector<int32_t> limits = file.Triple(s, "TFormLimit", kInt32Min, kInt32Max);
    const std::vector<int32_t> concentrations =
        file.Triple(s, "Concentration", kInt32Min, kInt32Max);
    const std::vector<int32_t> minerals = file.Triple(s, "Minerals", kInt32Min, kInt32Max);
    for (int i = 0; i < 3; ++i) {
        p.PlanetEnv[i] = env[i];
        p.MaxTFormPrc[i] = limits[i];
        p.PlanetConPrc[i] = concentrations[i];
        p.PlanetMineral[i] = minerals[i];
    }
    p.PlanetPrc = Int(file, s, "Habitability");
    p.PlanetHW = Int(file, s, "Homeworld", 0, 1) != 0;
    p.PlanetFabr = Int(file, s, "Factories");
    p.PlanetMine = Int(file, s, "Mines");
    tab.planetList = file.Text(s, "PlanetList");
    tab.planetEntry = Int(file, s, "PlanetEntry", -1, kInt32Max);
    tab.planetEntryText = file.Text(s, "PlanetEntryText");
    return tab;
}

SearchOutcome ReadSearchResult(const Sections& file, const PlanetTab& tab) {
    const std::string s = "SearchResult";
    SearchOutcome found;
    PlanetFigures& f = found.figures;
    f.prc = Int(file, s, "Habitability");
    f.men = file.Number(s, "Colonists", INT64_MIN, INT64_MAX);
    f.resource = file.Number(s, "Resources", INT64_MIN, INT64_MAX);
    f.fabr = Int(file, s, "Factories");
    f.mine = Int(file, s, "Mines");
    const std::vector<int32_t> minerals = file.Triple(s, "Minerals", kInt32Min, kInt32Max);
    for (int i = 0; i < 3; ++i)
        f.mineral[i] = minerals[i];
    found.minus = Elements(file, s, "Minus", tab);
    found.plus = Elements(file, s, "Plus", tab);
    return found;
}

CalcSetup ReadSetup(const Sections& file) {
    ReadVersion(file);
    CalcSetup setup;
    bool anyRaceSection = false;
    for (const char* section : kRaceSections)
        anyRaceSection = anyRaceSection || file.Has(section);
    if (anyRaceSection) {
        for (const char* section : kRaceSections)
            if (!file.Has(section))
                Fail(0, "[" + std::string(section) + "]",
                     "the section is missing (the race takes [Step1] to [Step4] and [Planet])",
                     "нет раздела (раса занимает [Step1]..[Step4] и [Planet])");
        setup.race = ReadRace(file);
        setup.planetTab = ReadPlanetTab(file);
    }
    StartFields& start = setup.start;
    start.prc = Int(file, "Start", "Habitability");
    start.men = Int(file, "Start", "Colonists");
    start.growth = Int(file, "Start", "Growth");
    start.years = Int(file, "Start", "Years");
    setup.minus = Elements(file, "Templates", "Minus", setup.planetTab);
    setup.plus = Elements(file, "Templates", "Plus", setup.planetTab);
    SearchTab& search = setup.search;
    for (int i = 0; i < 6; ++i)
        search.params[i] = Int(file, "Search", kSearchKeys[i]);
    search.criterion = Int(file, "Search", "Criterion", 0, 5);
    search.interval = Int(file, "Search", "Interval");
    search.landing = Int(file, "Search", "Colonists");
    if (file.Has("SearchResult"))
        search.result = ReadSearchResult(file, setup.planetTab);
    setup.dataTable = file.Rows("DataTable");
    setup.mineralTable = file.Rows("MineralTable");
    return setup;
}

// Writing.

// UTF-8 without control characters other than tab, so that a text stays one value.
std::string CleanText(std::string_view text) {
    std::string clean = DecodeText(text);
    for (char& c : clean)
        if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7f)
            c = '?';
    return clean;
}

// An element with its unit cost after '@' where it is not the one the tab's economy gives.
std::string ElementText(const QueueItem& item, const PlanetTab& tab) {
    std::string text = quendal::ElementText(item);
    if (item.unitCost != DefaultUnitCost(item.kind, tab))
        text.append("@").append(std::to_string(item.unitCost));
    return text;
}

class Writer {
public:
    void Section(const char* name) {
        if (!text_.empty())
            text_ += '\n';
        text_ += "[" + std::string(name) + "]\n";
    }
    void Comment(const char* text) { text_ += "; " + std::string(text) + "\n"; }
    void Key(const std::string& key, const std::string& value) {
        text_ += key + "=" + value + "\n";
    }
    void Number(const std::string& key, int64_t value) { Key(key, std::to_string(value)); }
    void Text(const std::string& key, std::string_view value) { Key(key, CleanText(value)); }
    void Triple(const std::string& key, const int32_t values[3]) {
        Key(key, std::to_string(values[0]) + "," + std::to_string(values[1]) + "," +
                     std::to_string(values[2]));
    }
    void Elements(const std::string& key, const std::vector<QueueItem>& items,
                  const PlanetTab& tab) {
        std::string value;
        for (const QueueItem& item : items)
            value.append(value.empty() ? "" : ",").append(ElementText(item, tab));
        Key(key, value);
    }
    // A table record: its rows as keys Year0, Year1, ...; nothing for no rows.
    void Rows(const char* section, const std::vector<std::string>& rows,
              const char* comment = nullptr) {
        if (rows.empty())
            return;
        Section(section);
        if (comment)
            Comment(comment);
        for (size_t i = 0; i < rows.size(); ++i)
            Text("Year" + std::to_string(i), rows[i]);
    }
    std::string& text() { return text_; }

private:
    std::string text_;
};

} // namespace

std::string CalcFileError::Message(bool inRussian) const {
    std::string where;
    if (line > 0)
        where = (inRussian ? "строка " : "line ") + std::to_string(line) + ": ";
    if (!key.empty())
        where += key + ": ";
    return where + (inRussian ? russian : english);
}

CalcFileResult ParseCalcFile(std::string_view bytes) {
    CalcFileResult result;
    try {
        if (bytes.size() > kCalcFileMaxBytes)
            Fail(0, "",
                 "the file is larger than " + std::to_string(kCalcFileMaxBytes >> 20) + " MiB",
                 "файл больше " + std::to_string(kCalcFileMaxBytes >> 20) + " МиБ");
        if (bytes.substr(0, 3) == "\xEF\xBB\xBF") // a byte order mark some editors write
            bytes.remove_prefix(3);
        CheckText(bytes);
        const std::string text = IsValidUtf8(bytes) ? std::string(bytes) : DecodeCp1251(bytes);
        result.setup = ReadSetup(Sections(text));
    } catch (const Failure& failure) {
        result.setup = CalcSetup();
        result.error = failure.error;
    }
    return result;
}

std::string WriteCalcFile(const CalcSetup& setup) {
    Writer w;
    w.Section("QuendalCalculation");
    w.Number("Version", kVersion);
    const PlanetTab& tab = setup.planetTab;
    if (setup.race) {
        RaceParams race = setup.race->race;
        w.Section("Step1");
        w.Text("RaceFile", setup.race->path);
        w.Text("RaceName", setup.race->name);
        w.Section("Step2");
        for (int i = 0; i < 6; ++i)
            w.Number(kBoundKeys[i], *BoundOf(race, i));
        w.Number("MaxGrowthYRate", race.MaxGrowthYRate);
        w.Section("Step3");
        for (int i = 0; i < 7; ++i)
            w.Number(kEconomyKeys[i], race.Economy(i));
        w.Section("Step4");
        w.Number("Advantage", race.FullTForm ? kFullTFormBit : 0);

        const PlanetParams& p = tab.planet;
        w.Section("Planet");
        for (int i = 0; i < 7; ++i)
            w.Number(kEconomyKeys[i], tab.economy[i]);
        w.Number("FullTForm", tab.fullTForm);
        w.Triple("Env", p.PlanetEnv);
        w.Number("Habitability", p.PlanetPrc);
        w.Triple("TFormLimit", p.MaxTFormPrc);
        w.Triple("Concentration", p.PlanetConPrc);
        w.Triple("Minerals", p.PlanetMineral);
        w.Number("Homeworld", p.PlanetHW);
        w.Number("Factories", p.PlanetFabr);
        w.Number("Mines", p.PlanetMine);
        w.Text("PlanetList", tab.planetList);
        w.Number("PlanetEntry", tab.planetEntry);
        w.Text("PlanetEntryText", tab.planetEntryText);
    }
    w.Section("Start");
    w.Number("Habitability", setup.start.prc);
    w.Number("Colonists", setup.start.men);
    w.Number("Growth", setup.start.growth);
    w.Number("Years", setup.start.years);
    w.Section("Templates");
    w.Elements("Minus", setup.minus, tab);
    w.Elements("Plus", setup.plus, tab);
    const SearchTab& search = setup.search;
    w.Section("Search");
    for (int i = 0; i < 6; ++i)
        w.Number(kSearchKeys[i], search.params[i]);
    w.Number("Criterion", search.criterion);
    w.Number("Interval", search.interval);
    w.Number("Colonists", search.landing);
    if (search.result) {
        const PlanetFigures& f = search.result->figures;
        w.Section("SearchResult");
        w.Number("Habitability", f.prc);
        w.Number("Colonists", f.men);
        w.Number("Resources", f.resource);
        w.Number("Factories", f.fabr);
        w.Number("Mines", f.mine);
        w.Key("Minerals", std::to_string(f.mineral[0]) + "," + std::to_string(f.mineral[1]) + "," +
                              std::to_string(f.mineral[2]));
        w.Elements("Minus", search.result->minus, tab);
        w.Elements("Plus", search.result->plus, tab);
    }
    w.Rows("DataTable", setup.dataTable,
           "The tables as last computed, for reading: loading computes them again.");
    w.Rows("MineralTable", setup.mineralTable);
    w.Section("End");
    return std::move(w.text());
}

CalcFileResult ReadCalcFile(const std::string& path) {
    const std::optional<std::string> bytes = ReadFileBytes(path, kCalcFileMaxBytes);
    if (!bytes) {
        CalcFileResult result;
        result.error = CalcFileError{0, "", "cannot be read", "не читается"};
        return result;
    }
    return ParseCalcFile(*bytes);
}

} // namespace quendal
