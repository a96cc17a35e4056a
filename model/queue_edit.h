#pragma once

#include <cstdint>
#include <string_view>

#include "lists/queue_item.h"
#include "model/calc_model.h"

namespace quendal {

// Entries of the element drop-down list, in their order.
inline constexpr const char* kItemAddEntries[4] = {"Мин.терраформ.", "Мах.терраформ.", "Фабрики",
                                                   "Шахты"};

// The add rule of the template editor: builds the element for drop-down entry `entry`
// (0..3) and the typed count. Returns false when the add is to be ignored (no entry, a
// count below 1, or more than 20 maximum-terraforming steps). Unit costs come from the race.
bool MakeQueueElement(const RaceParams& race, int entry, std::string_view countText,
                      QueueItem& out);

} // namespace quendal
