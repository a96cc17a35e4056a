#include "model/queue_edit.h"

#include "model/numbers.h"

namespace quendal {

namespace {

constexpr int32_t kMaxTerraformCount = 20; // steps one maximum-terraforming element may order

} // namespace

bool MakeQueueElement(const RaceParams& race, int entry, std::string_view countText,
                      QueueItem& out) {
    const int32_t count = LeadingInt(countText);
    if (count < 1)
        return false;
    QueueItem element;
    element.count = count;
    switch (entry) {
    case 0:
        element.kind = MinTerraform;
        element.unitCost = kTerraformUnitCost;
        element.count = 1; // one step at a time, whatever was typed
        break;
    case 1:
        if (count > kMaxTerraformCount)
            return false;
        element.kind = MaxTerraform;
        element.unitCost = kTerraformUnitCost;
        break;
    case 2:
        element.kind = Factories;
        element.unitCost = race.NResourceBuildFactory;
        break;
    case 3:
        element.kind = Mines;
        element.unitCost = race.NResourceBuildMine;
        break;
    default:
        return false;
    }
    out = element;
    return true;
}

} // namespace quendal
