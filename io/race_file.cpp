#include "io/race_file.h"

#include <cstdint>

#include "io/profile.h"
#include "io/text_codec.h"
#include "model/numbers.h"

namespace quendal {
namespace {

// Buffer sizes of the values: the name keeps 49 bytes, a number 9 characters.
constexpr size_t kNameSize = 50;
constexpr size_t kNumberSize = 10;

// Bit of Advantage that makes one terraforming step move all three factors.
constexpr uint32_t kFullTFormBit = 1u << 9;

} // namespace

RaceFile ParseRace(std::string_view bytes) {
    const ProfileFile profile = ProfileFile::Parse(bytes);
    const std::string_view name = profile.Find("Step1", "RaceName").value_or("-");

    auto number = [&profile](const char* section, const char* key) {
        return LeadingInt(profile.Read(section, key, "0", kNumberSize));
    };
    RaceFile file;
    RaceParams& race = file.race;
    race.Env0Min = number("Step2", "Env0Min");
    race.Env0Max = number("Step2", "Env0Max");
    race.Env1Min = number("Step2", "Env1Min");
    race.Env1Max = number("Step2", "Env1Max");
    race.Env2Min = number("Step2", "Env2Min");
    race.Env2Max = number("Step2", "Env2Max");
    race.MaxGrowthYRate = number("Step2", "MaxGrowthYRate");
    race.NColonistYTo1Resource = number("Step3", "NColonistYTo1Resource");
    race.NResourceYFrom10Factory = number("Step3", "NResourceYFrom10Factory");
    race.NResourceBuildFactory = number("Step3", "NResourceBuildFactory");
    race.NFactoryWork10000 = number("Step3", "NFactoryWork10000");
    race.NResourceBuildMine = number("Step3", "NResourceBuildMine");
    race.NMineWork10000 = number("Step3", "NMineWork10000");
    race.NMineralYFrom10Mine = number("Step3", "NMineralYFrom10Mine");
    // A negative value counts in two's complement.
    race.FullTForm = (static_cast<uint32_t>(number("Step4", "Advantage")) & kFullTFormBit) != 0;
    race.DeriveOptimum();
    // The name is cut to 49 bytes, as its buffer holds it; the cut may split a UTF-8 letter.
    file.name = DecodeCutText(name, kNameSize - 1);
    return file;
}

} // namespace quendal
