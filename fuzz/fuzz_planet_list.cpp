// Parses arbitrary bytes as a planet list for a typical race and applies every planet.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "io/planet_list.h"
#include "io/text_codec.h"
#include "model/habitability.h"
#include "model/planet_rules.h"
#include "tests/support/model_fixtures.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quendal;
    // The bounds and growth of data/typical.urc.
    auto model = simtest::MakeRace({15, 25, 20}, {85, 75, 80}, 17);
    const PlanetList list =
        ParsePlanetList(std::string_view(reinterpret_cast<const char*>(data), size), model->Race);
    if (list.entries.size() != list.planets.size())
        __builtin_trap();
    for (const std::string& entry : list.entries)
        if (!IsValidUtf8(entry) || Utf8Length(entry) > 99)
            __builtin_trap();
    for (const PlanetEntry& planet : list.planets) {
        ApplyPlanet(*model, planet);
        for (int k = 0; k < 3; ++k)
            if (model->Planet.PlanetMineral[k] > 32000)
                __builtin_trap();
        CalcTFormPrc(*model, model->Planet.PlanetEnv);
    }
    return 0;
}
