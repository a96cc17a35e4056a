#pragma once

#include <cstdint>
#include <string_view>

#include "lists/queue_item.h"
#include "model/calc_model.h"

namespace quendal {

// Entries of the element drop-down list, in their order.
inline constexpr const char* kItemAddEntries[4] = {
    TrNoop("Мин.терраформ."), TrNoop("Мах.терраформ."), TrNoop("Фабрики"), TrNoop("Шахты")};

// The add rule of the template editor: builds the element for drop-down entry `entry`
// (0..3) and the typed count. Returns false when the add is to be ignored (no entry, a
// count below 1, or more than 20 maximum-terraforming steps). Unit costs come from the race.
bool MakeQueueElement(const RaceParams& race, int entry, std::string_view countText,
                      QueueItem& out);

// The template buttons, on line `line` (from 0; -1 when none is selected) of a template.
// Each returns the line selected afterwards: -1 after a delete or when nothing was done, the
// moved element's new line after a move. A move that cannot be done leaves the template as
// it was; one whose element is lost on re-insertion (a full list) returns -2, so that a
// mirror of the template drops the line too.
int DeleteQueueLine(LIST_ITEM& queue, int line);
int MoveQueueLineUp(LIST_ITEM& queue, int line);
int MoveQueueLineDown(LIST_ITEM& queue, int line);

} // namespace quendal
