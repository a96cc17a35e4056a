#include "io/calc_file.h"

#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <utility>
#include <vector>

#include "io/race_file.h"
#include "io/text_codec.h"
#include "model/field_specs.h"
#include "model/numbers.h"

namespace quendal {

namespace {

constexpr int32_t kVersion = 1;
const std::vector<std::string> kRecordSections = {"DataTable", "MineralTable"};

// Which setups hold a field's section: every one, those with a race, those with a search
// result.
enum class Group { Always, Race, Result };
enum class Kind { Numbers, Text, Elements };

// One key of the format: where it stands, what it holds and how it reaches the setup. The
// reader and the writer both walk the table, in its order, which is the file's.
struct CalcField {
    Group group = Group::Always;
    std::string section, key;
    Kind kind = Kind::Numbers;
    int count;                   // numbers: how many, separated by commas
    ValueRange range{};          // numbers: each one's; texts: the most characters (0: any)
    const char* label = nullptr; // what a refusal calls it (FieldSpec::label), or null: its key
    int since = 1;               // the version the key came in; older files give it its default
    std::function<int64_t(const CalcSetup&, int)> get; // numbers: number i
    std::function<void(CalcSetup&, int, int64_t)> set;
    std::function<std::string&(CalcSetup&)> text;
    std::function<std::vector<QueueItem>&(CalcSetup&)> items;
};

// Adds the fields of one section after another, in the file's order.
class FieldList {
public:
    void Section(Group group, const char* section) {
        group_ = group;
        section_ = section;
    }
    // Numbers behind `ref`, an accessor of an integer, a flag, an enumeration or an array of
    // `count` of them.
    template <typename Ref>
    void Numbers(std::string key, Ref ref, const FieldSpec& field, int count = 1) {
        Numbers(std::move(key), ref, field.accepts, count);
        fields.back().label = field.label;
    }
    template <typename Ref>
    void Numbers(std::string key, Ref ref, ValueRange range = kInt32Range, int count = 1) {
        const auto number = [ref](CalcSetup & s, int i) -> auto& {
            auto& value = ref(s);
            if constexpr (std::is_array_v<std::remove_reference_t<decltype(value)>>)
                return value[i];
            else
                return value;
        };
        CalcField& f = Add(std::move(key), Kind::Numbers, range, count);
        f.get = [number](const CalcSetup& s, int i) {
            return static_cast<int64_t>(number(const_cast<CalcSetup&>(s), i));
        };
        f.set = [number](CalcSetup& s, int i, int64_t v) {
            auto& value = number(s, i);
            value = static_cast<std::remove_reference_t<decltype(value)>>(v);
        };
    }
    // `maxChars`: the most characters; the least is not read.
    void Text(std::string key, std::function<std::string&(CalcSetup&)> ref, int64_t maxChars = 0) {
        Add(std::move(key), Kind::Text, {0, maxChars}).text = std::move(ref);
    }
    void Elements(std::string key, std::function<std::vector<QueueItem>&(CalcSetup&)> ref) {
        Add(std::move(key), Kind::Elements).items = std::move(ref);
    }
    CalcField& Add(std::string key, Kind kind, ValueRange range = {}, int count = 1) {
        CalcField& f = fields.emplace_back();
        f.group = group_;
        f.section = section_;
        f.key = std::move(key);
        f.kind = kind;
        f.range = range;
        f.count = count;
        return f;
    }
    std::vector<CalcField> fields;

private:
    Group group_ = Group::Always;
    std::string section_;
};

// The accessor of a part of the setup.
#define AT(part)                                                                                   \
    [](CalcSetup & s) -> auto& {                                                                   \
        return part;                                                                               \
    }

std::vector<CalcField> MakeFields() {
    FieldList f;
    f.Section(Group::Race, "Step1");
    f.Text("RaceFile", AT(s.race->path));
    f.Text("RaceName", AT(s.race->name), kRaceNameBytes);
    for (const RaceKey& k : kRaceKeys) {
        f.Section(Group::Race, k.section);
        f.Numbers(k.key, [m = k.field](CalcSetup & s) -> auto& { return s.race->race.*m; },
                  {kRaceNumberMin, kRaceNumberMax});
    }
    // Full terraforming is one bit of the race file's advantages.
    f.Section(Group::Race, "Step4");
    CalcField& advantage = f.Add("Advantage", Kind::Numbers, {kRaceNumberMin, kRaceNumberMax});
    advantage.get = [](const CalcSetup& s, int) -> int64_t {
        return s.race->race.FullTForm ? kFullTFormBit : 0;
    };
    advantage.set = [](CalcSetup& s, int, int64_t v) {
        s.race->race.FullTForm = (static_cast<uint64_t>(v) & kFullTFormBit) != 0;
    };

    f.Section(Group::Race, "Planet");
    for (int i = 0; i < 7; ++i)
        f.Numbers(
            kEconomyKeys[i].key, [i](CalcSetup & s) -> auto& { return s.planetTab.economy[i]; },
            kEconomyFields[i]);
    f.Numbers("FullTForm", AT(s.planetTab.fullTForm), kFlagRange);
    f.Numbers("Env", AT(s.planetTab.planet.PlanetEnv), kFactorField, 3);
    f.Numbers("Habitability", AT(s.planetTab.planet.PlanetPrc));
    f.Numbers("TFormLimit", AT(s.planetTab.planet.MaxTFormPrc), kTFormLimitField, 3);
    f.Numbers("Concentration", AT(s.planetTab.planet.PlanetConPrc), kConcentrationField, 3);
    f.Numbers("Minerals", AT(s.planetTab.planet.PlanetMineral), kMineralField, 3);
    f.Numbers("Homeworld", AT(s.planetTab.planet.PlanetHW), kFlagRange);
    f.Numbers("Factories", AT(s.planetTab.planet.PlanetFabr), kFactoriesField);
    f.Numbers("Mines", AT(s.planetTab.planet.PlanetMine), kMinesField);
    f.Text("PlanetList", AT(s.planetTab.list.path));
    f.Numbers("PlanetEntry", AT(s.planetTab.list.entry), kListEntryRange);
    f.Text("PlanetEntryText", AT(s.planetTab.list.entryText));

    f.Section(Group::Always, "Start");
    f.Numbers("Habitability", AT(s.start.prc), kStartPrcField);
    f.Numbers("Colonists", AT(s.start.men), kStartMenField);
    f.Numbers("Growth", AT(s.start.growth), kGrowthField);
    f.Numbers("Years", AT(s.start.years), kYearsField);
    f.Section(Group::Always, "Templates");
    f.Elements("Minus", AT(s.minus));
    f.Elements("Plus", AT(s.plus));

    f.Section(Group::Always, "Search");
    for (int i = 0; i < 6; ++i) { // the options' names capitalised: Population, ...
        std::string key = kGeneticParamNames[i];
        key[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(key[0])));
        f.Numbers(
            key, [i](CalcSetup & s) -> auto& { return s.search.params[i]; },
            kGeneticParamFields[i]);
    }
    f.Numbers("Criterion", AT(s.search.criterion), kCriterionRange);
    f.Numbers("Interval", AT(s.search.interval), kSearchYearsField);
    f.Numbers("Colonists", AT(s.search.landing), kSearchMenField);

    f.Section(Group::Result, "SearchResult");
    const ValueRange int64Range{INT64_MIN, INT64_MAX};
    f.Numbers("Habitability", AT(s.search.result->figures.prc));
    f.Numbers("Colonists", AT(s.search.result->figures.men), int64Range);
    f.Numbers("Resources", AT(s.search.result->figures.resource), int64Range);
    f.Numbers("Factories", AT(s.search.result->figures.fabr));
    f.Numbers("Mines", AT(s.search.result->figures.mine));
    f.Numbers("Minerals", AT(s.search.result->figures.mineral), int64Range, 3);
    f.Elements("Minus", AT(s.search.result->minus));
    f.Elements("Plus", AT(s.search.result->plus));
    return std::move(f.fields);
}

#undef AT

const std::vector<CalcField>& Fields() {
    static const std::vector<CalcField> fields = MakeFields();
    return fields;
}

// Reading.

// One template element: min, min:N, max:N, fab:N, mine:N, then @C for a unit cost.
QueueItem ParseElement(std::string_view text, int line, const std::string& name,
                       const PlanetTab& tab) {
    const size_t at = text.find('@');
    std::string_view head = text.substr(0, at);
    const size_t colon = head.find(':');
    const std::string_view kind = TrimBlanks(head.substr(0, colon));
    QueueItem item;
    item.kind = KindOfWord(kind);
    if (item.kind == 0)
        FailIni(line, name, TrNoop("неизвестный элемент «%1» (min, max:N, fab:N или mine:N)"),
                {QuotedValue(text)});
    if (colon == std::string_view::npos && item.kind != MinTerraform)
        FailIni(line, name, TrNoop("«%1» без числа, нужно как в fab:5"), {QuotedValue(text)});
    item.count = colon == std::string_view::npos
                     ? 1
                     : static_cast<int32_t>(IniNumber(TrimBlanks(head.substr(colon + 1)), line,
                                                      name, kItemCountField.accepts.lo,
                                                      kItemCountField.accepts.hi));
    item.unitCost = at == std::string_view::npos
                        ? DefaultUnitCost(item.kind, tab)
                        : static_cast<int32_t>(IniNumber(TrimBlanks(text.substr(at + 1)), line,
                                                         name, INT32_MIN, INT32_MAX));
    return item;
}

void ReadField(const IniSections& file, const CalcField& f, int version, CalcSetup& setup) {
    if (f.since > version && !file.Find(f.section, f.key))
        return;
    const std::string name = IniName(f.section, f.key);
    const auto& [text, line] = file.Value(f.section, f.key);
    switch (f.kind) {
    case Kind::Numbers: {
        const std::vector<std::string_view> parts =
            f.count == 1 ? std::vector<std::string_view>{text} : SplitAt(text, ',');
        if (parts.size() != static_cast<size_t>(f.count))
            FailIni(line, name, TrNoop("«%1» — не %2 числа через запятую"),
                    {QuotedValue(text), std::to_string(f.count)});
        for (int i = 0; i < f.count; ++i)
            f.set(setup, i, IniNumber(TrimBlanks(parts[i]), line, name, f.range.lo, f.range.hi));
        break;
    }
    case Kind::Text:
        if (f.range.hi > 0 && Utf8Length(text) > static_cast<size_t>(f.range.hi))
            FailIni(line, name, TrNoop("длиннее %1 символов, которые он вмещает"),
                    {std::to_string(f.range.hi)});
        f.text(setup) = text;
        break;
    case Kind::Elements:
        f.items(setup).clear();
        if (!TrimBlanks(text).empty())
            for (std::string_view part : SplitAt(text, ','))
                f.items(setup).push_back(
                    ParseElement(TrimBlanks(part), line, name, setup.planetTab));
        break;
    }
}

int ReadVersion(const IniSections& file) {
    const auto& [text, line] = file.Value("QuendalCalculation", "Version");
    const std::optional<int64_t> version = StrictInt(TrimBlanks(text));
    const std::string ours = std::to_string(kVersion);
    if (version && *version > kVersion)
        FailIni(line, "[QuendalCalculation] Version",
                TrNoop("версия %1 записана более новым Quendal (этот читает версию %2)"),
                {std::to_string(*version), ours});
    if (!version || *version < 1)
        FailIni(line, "[QuendalCalculation] Version", TrNoop("неизвестная версия «%1»"),
                {QuotedValue(text)});
    return static_cast<int>(*version);
}

CalcSetup ReadSetup(const IniSections& file) {
    const int version = ReadVersion(file);
    CalcSetup setup;
    const char* const raceSections[5] = {"Step1", "Step2", "Step3", "Step4", "Planet"};
    const bool race = std::any_of(std::begin(raceSections), std::end(raceSections),
                                  [&file](const char* section) { return file.Has(section); });
    if (race) {
        for (const char* section : raceSections)
            if (!file.Has(section))
                FailIni(0, "[" + std::string(section) + "]",
                        TrNoop("нет раздела (раса занимает [Step1]..[Step4] и [Planet])"));
        setup.race.emplace();
    }
    if (file.Has("SearchResult"))
        setup.search.result.emplace();
    for (const CalcField& field : Fields())
        if (field.group == Group::Always || (field.group == Group::Race && race) ||
            (field.group == Group::Result && setup.search.result))
            ReadField(file, field, version, setup);
    if (setup.race)
        setup.race->race.DeriveOptimum();
    return setup;
}

// A file's text read from `in`, its table record left out unread.
CalcFileResult ParseStream(std::istream& in) {
    CalcFileResult result;
    try {
        const std::string kept = KeptText(in, kRecordSections, kCalcFileMaxBytes);
        std::string_view text = kept;
        if (text.substr(0, 3) == "\xEF\xBB\xBF") // a byte order mark some editors write
            text.remove_prefix(3);
        const std::string decoded = IsValidUtf8(text) ? std::string(text) : DecodeCp1251(text);
        result.setup = ReadSetup(IniSections(decoded, kCalcFileMagic));
    } catch (const IniFailure& failure) { // the setup is still the empty one
        result.error = failure.error;
    }
    return result;
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
std::string PricedElementText(const QueueItem& item, const PlanetTab& tab) {
    std::string text = ElementText(item);
    if (item.unitCost != DefaultUnitCost(item.kind, tab))
        text.append("@").append(std::to_string(item.unitCost));
    return text;
}

std::string FieldValue(const CalcField& f, const CalcSetup& setup) {
    CalcSetup& s = const_cast<CalcSetup&>(setup); // the accessors only read here
    std::string value;
    switch (f.kind) {
    case Kind::Numbers:
        for (int i = 0; i < f.count; ++i)
            value.append(i ? "," : "").append(std::to_string(f.get(setup, i)));
        break;
    case Kind::Text:
        value = CleanText(f.text(s));
        break;
    case Kind::Elements:
        for (const QueueItem& item : f.items(s))
            value.append(value.empty() ? "" : ",").append(PricedElementText(item, setup.planetTab));
        break;
    }
    return value;
}

// Why the reader would refuse what the writer writes of `f` for `setup`, in `language`;
// nothing when it takes it. The reader's own ranges, and its words for a text or an element it
// refuses; a value out of range named as the window names it, or `byKey` as the reader does.
std::optional<std::string> FieldProblem(const CalcField& f, const CalcSetup& setup,
                                        Language language, bool byKey) {
    CalcSetup& s = const_cast<CalcSetup&>(setup); // the accessors only read here
    const std::string key = IniName(f.section, f.key);
    const auto refused = [&](const char* text, std::vector<std::string> args) {
        return IniError{0, key, text, std::move(args)}.Message(language);
    };
    const auto outside = [&](int64_t value, const ValueRange& range, const char* label) {
        if (byKey)
            return refused(
                TrNoop("%1 вне %2..%3"),
                {std::to_string(value), std::to_string(range.lo), std::to_string(range.hi)});
        return RangeRefusal(label ? Translate(language, label) : key, value, range, language);
    };
    switch (f.kind) {
    case Kind::Numbers:
        for (int i = 0; i < f.count; ++i)
            if (const int64_t value = f.get(setup, i); !f.range.Holds(value))
                return outside(value, f.range, f.label);
        break;
    case Kind::Text:
        if (f.range.hi > 0 && Utf8Length(CleanText(f.text(s))) > static_cast<size_t>(f.range.hi))
            return refused(TrNoop("длиннее %1 символов, которые он вмещает"),
                           {std::to_string(f.range.hi)});
        break;
    case Kind::Elements:
        for (const QueueItem& item : f.items(s)) {
            const std::string text = QuotedValue(ElementText(item));
            if (KindOfWord(ItemKindWord(item.kind)) == 0)
                return refused(TrNoop("неизвестный элемент «%1» (min, max:N, fab:N или mine:N)"),
                               {text});
            if (!kItemCountField.accepts.Holds(item.count))
                return outside(item.count, kItemCountField.accepts, nullptr);
        }
        break;
    }
    return std::nullopt;
}

// A table record: its rows as keys Year0, Year1, ...; nothing for no rows.
void WriteRows(std::string& text, const char* section, const std::vector<std::string>& rows,
               const char* comment = nullptr) {
    if (rows.empty())
        return;
    text.append("\n[").append(section).append("]\n");
    if (comment)
        text.append("; ").append(comment).append("\n");
    for (size_t i = 0; i < rows.size(); ++i)
        text += "Year" + std::to_string(i) + "=" + CleanText(rows[i]) + "\n";
}

} // namespace

CalcFileResult ParseCalcFile(std::string_view bytes) {
    std::istringstream in{std::string(bytes)};
    return ParseStream(in);
}

std::string WriteCalcFile(const CalcSetup& setup) {
    std::string text = std::string(kCalcFileMagic) + "\nVersion=" + std::to_string(kVersion) + "\n";
    std::string section = "QuendalCalculation";
    for (const CalcField& f : Fields()) {
        if ((f.group == Group::Race && !setup.race) ||
            (f.group == Group::Result && !setup.search.result))
            continue;
        if (f.section != section) {
            section = f.section;
            text.append("\n[").append(section).append("]\n");
        }
        text.append(f.key).append("=").append(FieldValue(f, setup)).append("\n");
    }
    WriteRows(text, "DataTable", setup.dataTable,
              "The tables as last computed, for reading: loading computes them again.");
    WriteRows(text, "MineralTable", setup.mineralTable);
    text.append("\n[End]\n");
    return text;
}

std::string SetupProblem(const CalcSetup& setup, Language language, bool byKey) {
    for (const CalcField& f : Fields()) {
        if ((f.group == Group::Race && !setup.race) ||
            (f.group == Group::Result && !setup.search.result))
            continue;
        if (const std::optional<std::string> problem = FieldProblem(f, setup, language, byKey))
            return *problem;
    }
    return {};
}

CalcFileResult ReadCalcFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    CalcFileResult read = ParseStream(file);
    if (!file.is_open() || file.bad()) // not opened, a folder, or a read error
        return {{}, IniError{0, "", TrNoop("не читается"), {}}};
    // A relative planet-list path (a file written by hand) is read against the file's folder.
    std::string& list = read.setup.planetTab.list.path;
    if (!list.empty() && std::filesystem::path(list).is_relative())
        list = (std::filesystem::path(path).parent_path() / list).lexically_normal().string();
    return read;
}

} // namespace quendal
