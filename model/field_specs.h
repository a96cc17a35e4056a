#pragma once

#include <cctype>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "i18n/translate.h"

namespace quendal {

// The captions, ranges, spin steps and first values of the fields that the window and the
// page both show, so that the two never disagree. The captions are Russian sources that the
// front ends show in their language (i18n/translate.h).

struct FieldRange {
    int32_t minimum, maximum, step, value; // value: the first one shown
};

struct NumberFieldSpec {
    const char* caption;
    FieldRange range;
};

// "Из описания расы:": the economy, in RaceParams::Economy's order.
inline constexpr NumberFieldSpec kEconomyFields[7] = {
    {TrNoop("Колонистов дают 1 ресурс в год"), {700, 2500, 100, 1000}},
    {TrNoop("Ресурсов дают в год 10 фабрик"), {5, 15, 1, 10}},
    {TrNoop("Ресурсов стоит 1 фабрика"), {5, 25, 1, 10}},
    {TrNoop("Фабрик, управляемых 10000 колонистами"), {5, 25, 1, 10}},
    {TrNoop("Ресурсов стоит 1 шахта"), {2, 15, 1, 10}},
    {TrNoop("Шахт, управляемых 10000 колонистами"), {5, 25, 1, 10}},
    {TrNoop("кТ каждого минерала в год добывают 5 шахт"), {5, 25, 1, 10}},
};

// "Параметры алгоритма (П1..П6):".
inline constexpr NumberFieldSpec kGeneticParamFields[6] = {
    {TrNoop("1. Численность популяции особей (вариантов)"), {50, 999, 50, 100}},
    {TrNoop("2. Число поколений (итераций алгоритма)"), {1, 999, 10, 20}},
    {TrNoop("3. 'Элита', % от популяции (немутируемые особи)"), {1, 50, 1, 5}},
    {TrNoop("4. Фактор выживания: >= (F(x)-min)/(max-min)"), {50, 99, 1, 80}},
    {TrNoop("5. Вероятность мутации особи"), {1, 50, 1, 1}},
    {TrNoop("6. Вероятность скрещивания особи"), {0, 50, 1, 40}},
};

// The other number fields, by name; a row of three shares its stem's (editPlanetEnv for
// editPlanetEnv1..3). Their captions are their labels'.
struct NamedNumberField {
    const char* name;
    FieldRange range;
};
inline constexpr NamedNumberField kNumberFields[] = {
    {TrNoop("editStartPlanetPrc"), {-75, 100, 5, 100}},
    {TrNoop("editStartPlanetMen"), {10, 30000, 50, 250}},
    {TrNoop("editMenYearPrc"), {5, 20, 1, 15}},
    {TrNoop("editLightYears"), {1, 999, 5, 15}},
    {TrNoop("editItemAdd"), {1, 999, 5, 1}},
    {TrNoop("editMaxTFormPrc"), {1, 15, 1, 11}},
    {TrNoop("editPlanetFabr"), {0, 10000, 50, 0}},
    {TrNoop("editPlanetMine"), {0, 10000, 50, 0}},
    {TrNoop("editPlanetEnv"), {0, 100, 1, 0}},
    {TrNoop("editPlanetConPrc"), {1, 100, 1, 100}},
    {TrNoop("editPlanetMineral"), {0, 32000, 100, 0}},
    {TrNoop("editGenLYear"), {1, 99, 5, 15}},
    {TrNoop("editGenFixed"), {10, 30000, 100, 1000}},
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

inline constexpr const char* kFactorCaptions[3] = {TrNoop("Гравитация:"), TrNoop("Температура:"),
                                                   TrNoop("Радиация:")};
// "Оптимум для расы:" before a race is loaded.
inline constexpr const char* kOptimumPlaceholders[3] = {"50  <17..67>", TrNoop("Иммунитет"),
                                                        TrNoop("Иммунитет")};
inline constexpr const char* kMineralNames[3] = {TrNoop("Ирониум"), TrNoop("Ураниум"),
                                                 TrNoop("Либериум")};
inline constexpr const char* kMineralShortNames[3] = {TrNoop("Ир."), TrNoop("Ур."), TrNoop("Либ.")};

// The chart's series, in the order of CalcView's figures.
inline constexpr const char* kChartSeriesCaptions[5] = {
    TrNoop("% среды"), TrNoop("Насел-е"), TrNoop("Ресурсы"), TrNoop("Фабрики"), TrNoop("Шахты")};

// The search result's figures (sGenResult1..6): five figures, then the three minerals.
inline constexpr const char* kSearchResultCaptions[6] = {
    TrNoop("Планета (%):"), TrNoop("Население (чел):"), TrNoop("Ресурсы:"),
    TrNoop("Фабрики:"),     TrNoop("Шахты:"),           TrNoop("Минералы (кТ):")};

// The two templates a search finds, as the search tab and the ranking name them.
inline constexpr const char* kFoundTemplateCaptions[2] = {TrNoop("ОП для негативной планеты"),
                                                          TrNoop("ОП для пригодной планеты")};

} // namespace quendal
