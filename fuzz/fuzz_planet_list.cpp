// Reads arbitrary bytes as a planet list for a typical race and applies every planet.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "fuzz_file.h"
#include "io/planet_list.h"
#include "io/text_codec.h"
#include "model/habitability.h"
#include "tests/support/model_fixtures.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quendal;
    const std::string& path = WriteFuzzFile(data, size, ".txt");
    // The bounds and growth of data/typical.urc.
    auto model = simtest::MakeRace({15, 25, 20}, {85, 75, 80}, 17);
    LIST_PLANET planets;
    std::vector<std::string> entries;
    if (!ReadPlanetList(path, *model, planets, entries))
        __builtin_trap();
    if (static_cast<int32_t>(entries.size()) != planets.count())
        __builtin_trap();
    for (const std::string& entry : entries)
        if (!IsValidUtf8(entry) || Utf8Length(entry) > 99)
            __builtin_trap();
    for (int i = 0; i < planets.count(); ++i) {
        int32_t startMen = 0;
        if (!ApplyPlanet(*model, planets, i, startMen))
            __builtin_trap();
        for (int k = 0; k < 3; ++k)
            if (model->Planet.PlanetMineral[k] > 32000)
                __builtin_trap();
        CalcTFormPrc(*model, model->Planet.PlanetEnv);
    }
    return 0;
}
