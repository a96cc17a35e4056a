// Loads arbitrary bytes as a race description file.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "fuzz_file.h"
#include "io/race_file.h"
#include "io/text_codec.h"
#include "model/habitability.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quendal;
    const std::string& path = WriteFuzzFile(data, size, ".urc");
    auto model = std::make_unique<CalcModel>();
    for (const char* startPrc : {"25", "-60", "100"}) {
        const std::string name = LoadRace(*model, path, startPrc);
        if (!model->RaceLoaded || !IsValidUtf8(name))
            __builtin_trap();
        const int32_t prc = model->Planet.PlanetPrc;
        if (prc != CalcPlanetPrc(model->Race, model->Planet.PlanetEnv) || prc < -75 || prc > 100)
            __builtin_trap();
        CalcTFormPrc(*model, model->Planet.PlanetEnv);
        ClearRace(*model);
    }
    return 0;
}
