#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/calc_model.h"

namespace quendal {

// A race file's numeric keys in the order of the file: the bounds and the growth rate of
// [Step2], then the economy of [Step3] (RaceParams::Economy's order).
struct RaceKey {
    const char* section;
    const char* key;
    int32_t RaceParams::*field;
};
inline constexpr RaceKey kRaceKeys[14] = {
    {"Step2", "Env0Min", &RaceParams::Env0Min},
    {"Step2", "Env0Max", &RaceParams::Env0Max},
    {"Step2", "Env1Min", &RaceParams::Env1Min},
    {"Step2", "Env1Max", &RaceParams::Env1Max},
    {"Step2", "Env2Min", &RaceParams::Env2Min},
    {"Step2", "Env2Max", &RaceParams::Env2Max},
    {"Step2", "MaxGrowthYRate", &RaceParams::MaxGrowthYRate},
    {"Step3", "NColonistYTo1Resource", &RaceParams::NColonistYTo1Resource},
    {"Step3", "NResourceYFrom10Factory", &RaceParams::NResourceYFrom10Factory},
    {"Step3", "NResourceBuildFactory", &RaceParams::NResourceBuildFactory},
    {"Step3", "NFactoryWork10000", &RaceParams::NFactoryWork10000},
    {"Step3", "NResourceBuildMine", &RaceParams::NResourceBuildMine},
    {"Step3", "NMineWork10000", &RaceParams::NMineWork10000},
    {"Step3", "NMineralYFrom10Mine", &RaceParams::NMineralYFrom10Mine},
};
// The economy's keys: those of [Step3].
inline constexpr const RaceKey* kEconomyKeys = kRaceKeys + 7;

// The name in [Step1] RaceName keeps at most this many bytes; a number at most this many
// characters, so -99999999..999999999.
inline constexpr size_t kRaceNameBytes = 49;
inline constexpr size_t kRaceNumberChars = 9;
inline constexpr int32_t kRaceNumberMin = -99999999;
inline constexpr int32_t kRaceNumberMax = 999999999;
// The bit of [Step4] Advantage that makes one terraforming step move all three factors.
inline constexpr uint32_t kFullTFormBit = 1u << 9;

// What a race description file holds: the race name as shown (UTF-8) and the race's values,
// with the optimum and half-width derived from the bounds.
struct RaceFile {
    std::string name;
    RaceParams race;
};

// Parses the bytes of a race description file. A missing section or key reads as its default
// ("-" for the name, 0 for a number); numbers by their leading integer after a cut to 9
// characters. Never fails: any bytes give a race.
RaceFile ParseRace(std::string_view bytes);

} // namespace quendal
