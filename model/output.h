#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/calc_model.h"

namespace quendal {

// Most years the window's tables show: the data table's year column has four digits.
inline constexpr int32_t kMaxShownYears = 9999;

// The two header lines above the data table and above the minerals table.
inline constexpr const char* kDataHeader1 = "     |% год|         |       |       |";
inline constexpr const char* kDataHeader2 = " Год |ности|Население|Ресурсы|Фабрики| Шахты";
inline constexpr const char* kMineralHeader1 = "   |       Ирониум/Ураниум/Либериум";
inline constexpr const char* kMineralHeader2 = "Год|Концентр-я | Добыча в год | На поверхности";

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

} // namespace quendal
