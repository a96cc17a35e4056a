#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/calc_model.h"
#include "model/simulation.h"

namespace quendal {

// Most years the window's tables show: the data table's year column has four digits.
inline constexpr int32_t kMaxShownYears = 9999;

// The two header lines above the data table and above the minerals table (Russian sources: a
// translation keeps the columns).
inline constexpr const char* kDataHeader1 = TrNoop("     |% год|         |       |       |");
inline constexpr const char* kDataHeader2 = TrNoop(" Год |ности|Население|Ресурсы|Фабрики| Шахты");
inline constexpr const char* kMineralHeader1 = TrNoop("   |       Ирониум/Ураниум/Либериум");
inline constexpr const char* kMineralHeader2 =
    TrNoop("Год|Концентр-я | Добыча в год | На поверхности");

// A data-table row: "%4d |%4d | %7ld | %5ld | %5ld |%5ld".
std::string DataTableLine(const YearResult& row);

// A minerals-table row: "%3d %-11s %-14s %s" with three "%d/%d/%d" texts.
std::string MineralLine(const YearResult& row);

// A year's figures as the tables give them, in their columns' order: year, habitability,
// colonists, resources, factories, mines; with `minerals` the concentrations, the yearly
// yields and the surface minerals after them, Ironium, Uranium and Liberium each.
std::vector<int64_t> YearFigures(const YearResult& row, bool minerals);

// Whether the chart gets a point for this year: year 0, the last year and every
// (lastYear / 40 + 1)-th year, so about 40 points whatever the number of years.
bool IsPlottedYear(int32_t year, int32_t lastYear);

// What "Расчет" shows: the two tables' lines (the minerals table's only with a race), the
// rows behind them and the chart.
struct CalcView {
    std::vector<YearResult> rows;
    std::vector<std::string> dataLines, mineralLines;
    // Per plotted year: the year, then the five series' figures: habitability, colonists in
    // thousands, resources, factories and mines.
    std::vector<std::array<double, 6>> chartPoints;
    // Which series are drawn: resources only with a race, factories and mines only when the
    // calculation can have some.
    std::array<bool, 5> plotted{};
};

// The displayed calculation of the window and the page; the years are kept to what the
// tables show (kMaxShownYears), and a negative number gives no rows.
CalcView CalculateView(CalcModel& model, StartConditions start);

} // namespace quendal
