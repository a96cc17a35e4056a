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

namespace {

// Takes the element of `line` out and puts it back at line `to`.
int MoveQueueLine(LIST_ITEM& queue, int line, int to) {
    QueueItem moved{};
    queue.CopyAt(&moved, line + 1);
    queue.RemoveAt(line + 1);
    if (queue.InsertAt(&moved, to + 1) != LIST_OK)
        return -2;
    return to;
}

} // namespace

int DeleteQueueLine(LIST_ITEM& queue, int line) {
    if (line >= 0 && line < queue.count())
        queue.RemoveAt(line + 1);
    return -1;
}

int MoveQueueLineUp(LIST_ITEM& queue, int line) {
    if (line <= 0 || line >= queue.count())
        return -1;
    return MoveQueueLine(queue, line, line - 1);
}

int MoveQueueLineDown(LIST_ITEM& queue, int line) {
    if (line < 0 || line >= queue.count() - 1)
        return -1;
    return MoveQueueLine(queue, line, line + 1);
}

} // namespace quendal
