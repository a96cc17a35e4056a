#pragma once

#include <cstdint>

namespace quendal {

// The six search parameters П1..П6 of the optimiser tab.
struct GeneticParams {
    int32_t populationSize = 100;  // П1: individuals
    int32_t generations = 20;      // П2: calls of NextGeneration
    int32_t elitePercent = 5;      // П3: share of the population that is never changed
    int32_t survivalPercent = 80;  // П4: normalised score below which an individual is replaced
    int32_t mutationPercent = 1;   // П5: probability of mutation per gene
    int32_t crossoverPercent = 40; // П6: probability that an individual starts a crossover

    int32_t& operator[](int i) {
        int32_t* const fields[6] = {&populationSize,  &generations,     &elitePercent,
                                    &survivalPercent, &mutationPercent, &crossoverPercent};
        return *fields[i];
    }
    int32_t operator[](int i) const { return (*const_cast<GeneticParams*>(this))[i]; }
    bool operator==(const GeneticParams&) const = default;
};

// The names of П1..П6 in the companion's options (--population, ...).
inline constexpr const char* kGeneticParamNames[6] = {"population", "generations", "elite",
                                                      "survival",   "mutation",    "crossover"};

} // namespace quendal
