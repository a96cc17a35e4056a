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

namespace {

// Sensitive to all three factors, growth 17 %, the usual economy.
std::unique_ptr<quendal::CalcModel> TypicalRace() {
    auto model = std::make_unique<quendal::CalcModel>();
    quendal::RaceParams& r = model->Race;
    r.Env0Min = 15, r.Env0Max = 85, r.Env1Min = 25, r.Env1Max = 75, r.Env2Min = 20;
    r.Env2Max = 80;
    r.MaxGrowthYRate = 17;
    r.NColonistYTo1Resource = 1000;
    r.NResourceYFrom10Factory = 10;
    r.NResourceBuildFactory = 10;
    r.NFactoryWork10000 = 10;
    r.NResourceBuildMine = 5;
    r.NMineWork10000 = 10;
    r.NMineralYFrom10Mine = 10;
    r.DeriveOptimum();
    for (int32_t& limit : model->Planet.MaxTFormPrc)
        limit = 11;
    model->RaceLoaded = true;
    return model;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quendal;
    const std::string& path = WriteFuzzFile(data, size, ".txt");
    auto model = TypicalRace();
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
