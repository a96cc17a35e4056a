// Parses arbitrary bytes as a race description file and loads the race.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "io/race_file.h"
#include "io/text_codec.h"
#include "model/habitability.h"
#include "model/planet_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quendal;
    const RaceFile file = ParseRace(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!IsValidUtf8(file.name))
        __builtin_trap();
    auto model = std::make_unique<CalcModel>();
    for (const int32_t startPrc : {25, -60, 100}) {
        ApplyRace(*model, file.race, startPrc);
        if (!model->RaceLoaded)
            __builtin_trap();
        const int32_t prc = model->Planet.PlanetPrc;
        if (prc != CalcPlanetPrc(model->Race, model->Planet.PlanetEnv) || prc < -75 || prc > 100)
            __builtin_trap();
        CalcTFormPrc(*model, model->Planet.PlanetEnv);
        ClearRace(*model);
    }
    return 0;
}
