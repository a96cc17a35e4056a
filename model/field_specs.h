#pragma once

#include <cctype>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "lists/translate.h"

namespace quendal {

// Every number field of a calculation, once: what it accepts wherever a value comes from
// outside a control (a calculation file, a companion option; a front end refuses the rest with
// the same message, see SetupProblem in io/calc_file.h), and how its control offers it on the
// window and the page alike. The two differ: a spin offers a player's usual values, a file or a
// script may hold any the calculation takes. The captions and labels are Russian sources that
// the front ends show in their language (lists/translate.h).

// The values a field accepts.
struct ValueRange {
    int64_t lo, hi;
    bool Holds(int64_t value) const { return value >= lo && value <= hi; }
};

inline constexpr ValueRange kInt32Range{INT32_MIN, INT32_MAX};

// How a number control offers a field: its spin's range and step, the first value shown and the
// most digits a player may type (9 keeps typing within 32 bits).
struct SpinControl {
    int32_t minimum, maximum, step, value;
    int32_t digits = 9;
};

struct FieldSpec {
    const char* name;    // the control's, or its row's stem: editPlanetEnv for editPlanetEnv1..3
    const char* caption; // the caption beside the control, or null where its own label has it
    const char* label;   // what a refusal calls the field ("П1"), or null: its file key
    ValueRange accepts;
    SpinControl spin;
};

// "Из описания расы:": the economy, in RaceParams::Economy's order.
inline constexpr FieldSpec kEconomyFields[7] = {
    {"editRaceP1",
     TrNoop("Колонистов дают 1 ресурс в год"),
     nullptr,
     kInt32Range,
     {700, 2500, 100, 1000}},
    {"editRaceP2", TrNoop("Ресурсов дают в год 10 фабрик"), nullptr, kInt32Range, {5, 15, 1, 10}},
    {"editRaceP3", TrNoop("Ресурсов стоит 1 фабрика"), nullptr, kInt32Range, {5, 25, 1, 10}},
    {"editRaceP4",
     TrNoop("Фабрик, управляемых 10000 колонистами"),
     nullptr,
     kInt32Range,
     {5, 25, 1, 10}},
    {"editRaceP5", TrNoop("Ресурсов стоит 1 шахта"), nullptr, kInt32Range, {2, 15, 1, 10}},
    {"editRaceP6",
     TrNoop("Шахт, управляемых 10000 колонистами"),
     nullptr,
     kInt32Range,
     {5, 25, 1, 10}},
    {"editRaceP7",
     TrNoop("кТ каждого минерала в год добывают 5 шахт"),
     nullptr,
     kInt32Range,
     {5, 25, 1, 10}},
};

// "Параметры алгоритма (П1..П6):": population, generations, elite, survival, mutation and
// crossover (%).
inline constexpr FieldSpec kGeneticParamFields[6] = {
    {"editGeneticP1",
     TrNoop("1. Численность популяции особей (вариантов)"),
     TrNoop("П1"),
     {2, 9999},
     {50, 999, 50, 100}},
    {"editGeneticP2",
     TrNoop("2. Число поколений (итераций алгоритма)"),
     TrNoop("П2"),
     {1, 9999},
     {1, 999, 10, 20}},
    {"editGeneticP3",
     TrNoop("3. 'Элита', % от популяции (немутируемые особи)"),
     TrNoop("П3"),
     {0, 100},
     {1, 50, 1, 5}},
    {"editGeneticP4",
     TrNoop("4. Фактор выживания: >= (F(x)-min)/(max-min)"),
     TrNoop("П4"),
     {0, 100},
     {50, 99, 1, 80}},
    {"editGeneticP5",
     TrNoop("5. Вероятность мутации особи"),
     TrNoop("П5"),
     {0, 100},
     {1, 50, 1, 1}},
    {"editGeneticP6",
     TrNoop("6. Вероятность скрещивания особи"),
     TrNoop("П6"),
     {0, 100},
     {0, 50, 1, 40}},
};

// The other number fields; their captions are their labels'.
inline constexpr FieldSpec kStartPrcField{
    "editStartPlanetPrc", nullptr, nullptr, kInt32Range, {-75, 100, 5, 100}};
inline constexpr FieldSpec kStartMenField{
    "editStartPlanetMen", nullptr, nullptr, kInt32Range, {10, 30000, 50, 250}};
inline constexpr FieldSpec kGrowthField{
    "editMenYearPrc", nullptr, nullptr, kInt32Range, {5, 20, 1, 15}};
inline constexpr FieldSpec kYearsField{
    "editLightYears", nullptr, TrNoop("ЛЕТ"), {0, 99999}, {1, 999, 5, 15}};
// The count of a template element.
inline constexpr FieldSpec kItemCountField{
    "editItemAdd", nullptr, nullptr, {1, INT32_MAX}, {1, 999, 5, 1}};
inline constexpr FieldSpec kTFormLimitField{
    "editMaxTFormPrc", nullptr, nullptr, kInt32Range, {1, 15, 1, 11}};
inline constexpr FieldSpec kFactoriesField{
    "editPlanetFabr", nullptr, nullptr, kInt32Range, {0, 10000, 50, 0}};
inline constexpr FieldSpec kMinesField{
    "editPlanetMine", nullptr, nullptr, kInt32Range, {0, 10000, 50, 0}};
// Factors run 0..100 (102 immune): the control takes three digits, so that the planet's text
// on the search tab always fits its field; a file or an option takes a sign as well.
inline constexpr FieldSpec kFactorField{
    "editPlanetEnv", nullptr, nullptr, {-999, 999}, {0, 100, 1, 0, 3}};
inline constexpr FieldSpec kConcentrationField{
    "editPlanetConPrc", nullptr, nullptr, kInt32Range, {1, 100, 1, 100}};
inline constexpr FieldSpec kMineralField{
    "editPlanetMineral", nullptr, nullptr, kInt32Range, {0, 32000, 100, 0}};
// The years of a search trial ("Интервал расчета").
inline constexpr FieldSpec kSearchYearsField{
    "editGenLYear", nullptr, TrNoop("Интервал расчета"), {1, 999}, {1, 99, 5, 15}};
// The colonists of a search trial, in hundreds.
inline constexpr FieldSpec kSearchMenField{
    "editGenFixed", nullptr, nullptr, kInt32Range, {10, 30000, 100, 1000}};

inline constexpr FieldSpec kNumberFields[] = {
    kStartPrcField,   kStartMenField,    kGrowthField,    kYearsField,  kItemCountField,
    kTFormLimitField, kFactoriesField,   kMinesField,     kFactorField, kConcentrationField,
    kMineralField,    kSearchYearsField, kSearchMenField,
};

// Values without a number control: "Максимизация:" (its six choices), a check box, the chosen
// entry of a planet list (-1: none).
inline constexpr ValueRange kCriterionRange{0, 5};
inline constexpr ValueRange kFlagRange{0, 1};
inline constexpr ValueRange kListEntryRange{-1, INT32_MAX};

// The field of kNumberFields of that name or stem; std::out_of_range for a name the table
// does not hold.
inline const FieldSpec& FieldOf(std::string_view name) {
    while (!name.empty() && std::isdigit(static_cast<unsigned char>(name.back())))
        name.remove_suffix(1);
    for (const FieldSpec& field : kNumberFields)
        if (name == field.name)
            return field;
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
