#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "lists/list_fix.h"
#include "model/calc_model.h"

namespace quendal {

// One planet of a planet list: a plain 48-byte record.
struct PlanetEntry {
    int32_t env[3];     // factors derived from the stated habitability
    int32_t conPrc[3];  // mineral concentrations %
    int32_t mineral[3]; // kT on the surface, at most 32000 each
    int32_t startMen;   // colonists in hundreds
    int32_t fabr;       // installed factories
    int32_t mine;       // installed mines
};
static_assert(sizeof(PlanetEntry) == 48, "planet records are 48 bytes");

using LIST_PLANET = RecordList<PlanetEntry>;

// Reads a tab-separated planet list: fills `planets` and the drop-down texts `entries`
// (UTF-8) in file order. Returns false, changing nothing, when the file cannot be opened.
// Each field is decoded before it is used in a text; the name is cut to 50 characters and
// the whole entry text to 99, counting characters of the decoded text.
// Uses the model's PlanetPrc and PlanetEnv as working fields, as the window does.
bool ReadPlanetList(const std::string& path, CalcModel& model, LIST_PLANET& planets,
                    std::vector<std::string>& entries);

// Applies planet `index` (counted from 0) to the model: factors (102 kept where the race is
// immune), concentrations, minerals, factories, mines and PlanetPrc. Returns false when
// there is no such entry; otherwise stores the planet's colonists (hundreds) in startMen.
bool ApplyPlanet(CalcModel& model, LIST_PLANET& planets, int index, int32_t& startMen);

// Applies one planet record to the model as choosing its entry does; stores its colonists
// (hundreds) in startMen.
void ApplyPlanet(CalcModel& model, const PlanetEntry& planet, int32_t& startMen);

} // namespace quendal
