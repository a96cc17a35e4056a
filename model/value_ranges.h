#pragma once

#include <cstdint>

namespace quendal {

// The values a field may hold wherever it is given: a companion option, a calculation file
// or a window field. One table, so that what one of them takes the others take too.
struct ValueRange {
    int64_t lo, hi;
    bool Holds(int64_t value) const { return value >= lo && value <= hi; }
};

inline constexpr ValueRange kInt32Range{INT32_MIN, INT32_MAX};
inline constexpr ValueRange kFactorRange{-999, 999};   // a factor field: three digits, a sign
inline constexpr ValueRange kYearsRange{0, 99999};     // years of a calculation
inline constexpr ValueRange kSearchYearsRange{1, 999}; // years of a search trial
inline constexpr ValueRange kCriterionRange{0, 5};     // Criterion
// П1..П6: population, generations, elite, survival, mutation and crossover (%).
inline constexpr ValueRange kGeneticParamRanges[6] = {{2, 9999}, {1, 9999}, {0, 100},
                                                      {0, 100},  {0, 100},  {0, 100}};

} // namespace quendal
