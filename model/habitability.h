#pragma once

#include <cstdint>

#include "model/calc_model.h"

namespace quendal {

// Lowest habitability that the rule returns.
inline constexpr int32_t kWorstPrc = -75;

// Habitability in % (-75..100) of a factor triple for the loaded race.
int32_t CalcPlanetPrc(const RaceParams& race, const int32_t env[3]);

// Where terraforming can bring each factor: the optimum when it lies within the limit,
// otherwise the value moved by the limit toward it. Immune factors keep their value.
void TFormTarget(const CalcModel& model, const int32_t env[3], int32_t target[3]);

// Habitability after all available terraforming of a factor triple.
int32_t CalcTFormPrc(const CalcModel& model, const int32_t env[3]);

// Worst-factor algorithm: fills env with the worst factors that give the race habitability
// prc (or the nearest below) and returns the habitability they give.
int32_t EnvForPrc(const RaceParams& race, int32_t prc, int32_t env[3]);

// The worst-factor algorithm on the model's planet: PlanetEnv for the habitability PlanetPrc,
// and PlanetPrc lowered to what they give where whole points fall short.
void SetEnvForPrc(CalcModel& model);

// A start habitability given for the planet: when it differs from PlanetPrc it becomes
// PlanetPrc and, with a race loaded, the factors are derived for it by SetEnvForPrc.
void TakeStartPrc(CalcModel& model, int32_t prc);

// The factor that a terraforming order works on, and its remaining distance.
struct TFormChoice {
    int index = 0;
    int64_t distance = 0;
};
TFormChoice FactorToTerraform(const RaceParams& race, const int32_t cur[3], const int32_t tgt[3]);

// Order kind for terraforming factor `index`: all three at once with full terraforming.
int32_t TerraformOrderKind(bool fullTForm, int index);

// One completed terraforming unit of order kind `kind` moves `cur` one point.
void TerraformStep(int32_t kind, int32_t cur[3], const int32_t tgt[3]);

} // namespace quendal
