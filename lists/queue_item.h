#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lists/translate.h"
#include "lists/list_fix.h"

namespace quendal {

// Kinds of a template element (1..4) and of a simulation build order (5..10).
enum ItemKind : int32_t {
    MinTerraform = 1,
    MaxTerraform = 2,
    Factories = 3,
    Mines = 4,
    TerraformAll = 5,
    TerraformGravity = 6,
    TerraformTemperature = 7,
    TerraformRadiation = 8,
    BuildFactory = 9,
    BuildMine = 10,
};

// Resources of one terraforming step, the unit cost of both terraforming kinds.
inline constexpr int32_t kTerraformUnitCost = 100;

// One queue element or build order: a plain record kept in lists by byte copy.
struct QueueItem {
    int32_t kind = 0;      // ItemKind
    int32_t unitCost = 0;  // resources for one unit, fixed when the element is created
    int32_t count = 0;     // units still to produce
    double invested = 0.0; // resources paid toward the unit under construction
    bool operator==(const QueueItem&) const = default;
};

using LIST_ITEM = RecordList<QueueItem>;
using QueueTemplate = LIST_ITEM;

// Display name of a template element kind (the Russian source); empty for other kinds.
const char* ItemKindName(int32_t kind);

// The short word of a template element kind in the text notation of templates ("min", "max",
// "fab", "mine"); empty for other kinds. KindOfWord gives the kind of a word, 0 for none.
const char* ItemKindWord(int32_t kind);
int32_t KindOfWord(std::string_view word);

// An element in that notation: the kind's word, then ':' and the count (left out for a single
// minimum-terraforming step), as in "min", "max:5", "fab:50"; "?:N" for another kind.
std::string ElementText(const QueueItem& item);

// The list-box line of an element in `language`: the kind's name padded to 16 characters, a
// blank and the count ("%-16s %d"); "неопред-й эл-нт" for a kind outside 1..4.
std::string QueueLineText(const QueueItem& item, Language language);

// A template's elements in order, and a template refilled from any range of elements.
std::vector<QueueItem> ItemsOf(const LIST_ITEM& list);
template <typename Range> void FillTemplate(LIST_ITEM& list, const Range& items) {
    list.Clear();
    for (const QueueItem& item : items)
        list.Append(&item);
}

// The list-box lines of a range of elements.
template <typename Range>
std::vector<std::string> TemplateLines(const Range& items, Language language) {
    std::vector<std::string> lines;
    for (const QueueItem& item : items)
        lines.push_back(QueueLineText(item, language));
    return lines;
}

} // namespace quendal
