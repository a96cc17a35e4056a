#pragma once

#include <cctype>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quendal {

// The captions, ranges, spin steps and first values of the fields that the window and the
// page both show, so that the two never disagree.

struct FieldRange {
    int32_t minimum, maximum, step, value; // value: the first one shown
};

struct NumberFieldSpec {
    const char* caption;
    FieldRange range;
};

// "Из описания расы:": the economy, in RaceParams::Economy's order.
inline constexpr NumberFieldSpec kEconomyFields[7] = {
    {"Колонистов дают 1 ресурс в год", {700, 2500, 100, 1000}},
    {"Ресурсов дают в год 10 фабрик", {5, 15, 1, 10}},
    {"Ресурсов стоит 1 фабрика", {5, 25, 1, 10}},
    {"Фабрик, управляемых 10000 колонистами", {5, 25, 1, 10}},
    {"Ресурсов стоит 1 шахта", {2, 15, 1, 10}},
    {"Шахт, управляемых 10000 колонистами", {5, 25, 1, 10}},
    {"кТ каждого минерала в год добывают 5 шахт", {5, 25, 1, 10}},
};

// "Параметры алгоритма (П1..П6):".
inline constexpr NumberFieldSpec kGeneticParamFields[6] = {
    {"1. Численность популяции особей (вариантов)", {50, 999, 50, 100}},
    {"2. Число поколений (итераций алгоритма)", {1, 999, 10, 20}},
    {"3. 'Элита', % от популяции (немутируемые особи)", {1, 50, 1, 5}},
    {"4. Фактор выживания: >= (F(x)-min)/(max-min)", {50, 99, 1, 80}},
    {"5. Вероятность мутации особи", {1, 50, 1, 1}},
    {"6. Вероятность скрещивания особи", {0, 50, 1, 40}},
};

// The other number fields, by name; a row of three shares its stem's (editPlanetEnv for
// editPlanetEnv1..3). Their captions are their labels'.
struct NamedNumberField {
    const char* name;
    FieldRange range;
};
inline constexpr NamedNumberField kNumberFields[] = {
    {"editStartPlanetPrc", {-75, 100, 5, 100}},
    {"editStartPlanetMen", {10, 30000, 50, 250}},
    {"editMenYearPrc", {5, 20, 1, 15}},
    {"editLightYears", {1, 999, 5, 15}},
    {"editItemAdd", {1, 999, 5, 1}},
    {"editMaxTFormPrc", {1, 15, 1, 11}},
    {"editPlanetFabr", {0, 10000, 50, 0}},
    {"editPlanetMine", {0, 10000, 50, 0}},
    {"editPlanetEnv", {0, 100, 1, 0}},
    {"editPlanetConPrc", {1, 100, 1, 100}},
    {"editPlanetMineral", {0, 32000, 100, 0}},
    {"editGenLYear", {1, 99, 5, 15}},
    {"editGenFixed", {10, 30000, 100, 1000}},
};

// The range of the field of that name or stem; std::out_of_range for a name the table does
// not hold.
inline const FieldRange& RangeOfField(std::string_view name) {
    while (!name.empty() && std::isdigit(static_cast<unsigned char>(name.back())))
        name.remove_suffix(1);
    for (const NamedNumberField& field : kNumberFields)
        if (name == field.name)
            return field.range;
    throw std::out_of_range("no number field " + std::string(name));
}

inline constexpr const char* kFactorCaptions[3] = {"Гравитация:", "Температура:", "Радиация:"};
// "Оптимум для расы:" before a race is loaded.
inline constexpr const char* kOptimumPlaceholders[3] = {"50  <17..67>", "Иммунитет", "Иммунитет"};
inline constexpr const char* kMineralNames[3] = {"Ирониум", "Ураниум", "Либериум"};
inline constexpr const char* kMineralShortNames[3] = {"Ир.", "Ур.", "Либ."};

// The chart's series, in the order of CalcView's figures.
inline constexpr const char* kChartSeriesCaptions[5] = {"% среды", "Насел-е", "Ресурсы", "Фабрики",
                                                        "Шахты"};

// The search result's figures (sGenResult1..6): five figures, then the three minerals.
inline constexpr const char* kSearchResultCaptions[6] = {
    "Планета (%):", "Население (чел):", "Ресурсы:", "Фабрики:", "Шахты:", "Минералы (кТ):"};

} // namespace quendal
