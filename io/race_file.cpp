#include "io/race_file.h"

#include "io/profile.h"
#include "io/text_codec.h"
#include "model/numbers.h"

namespace quendal {

RaceFile ParseRace(std::string_view bytes) {
    const ProfileFile profile = ProfileFile::Parse(bytes);
    const std::string_view name = profile.Find("Step1", "RaceName").value_or("-");

    auto number = [&profile](const char* section, const char* key) {
        return LeadingInt(profile.Read(section, key, "0", kRaceNumberChars + 1));
    };
    RaceFile file;
    RaceParams& race = file.race;
    for (const RaceKey& key : kRaceKeys)
        race.*key.field = number(key.section, key.key);
    // A negative value counts in two's complement.
    race.FullTForm = (static_cast<uint32_t>(number("Step4", "Advantage")) & kFullTFormBit) != 0;
    race.DeriveOptimum();
    // The name is cut to 49 bytes, as its buffer holds it; the cut may split a UTF-8 letter.
    file.name = DecodeCutText(name, kRaceNameBytes);
    return file;
}

} // namespace quendal
