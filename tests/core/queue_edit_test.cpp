#include "model/queue_edit.h"

#include <gtest/gtest.h>

#include <vector>

namespace quendal {
namespace {

RaceParams Economy() {
    RaceParams race;
    race.NResourceBuildFactory = 12;
    race.NResourceBuildMine = 7;
    return race;
}

TEST(MakeQueueElement, AcceptedElements) {
    struct Case {
        const char* name;
        int entry;
        const char* text;
        int32_t kind, unitCost, count;
    } cases[] = {
        {"minimum terraforming is always one step", 0, "7", MinTerraform, 100, 1},
        {"twenty maximum-terraforming steps", 1, "20", MaxTerraform, 100, 20},
        {"one maximum-terraforming step", 1, "1", MaxTerraform, 100, 1},
        {"factories at the race's cost", 2, "12abc", Factories, 12, 12},
        {"mines at the race's cost", 3, " +3", Mines, 7, 3},
        {"no upper bound for factories", 2, "5000", Factories, 12, 5000},
    };
    for (const Case& c : cases) {
        QueueItem item;
        item.invested = 99;
        ASSERT_TRUE(MakeQueueElement(Economy(), c.entry, c.text, item)) << c.name;
        EXPECT_EQ(item.kind, c.kind) << c.name;
        EXPECT_EQ(item.unitCost, c.unitCost) << c.name;
        EXPECT_EQ(item.count, c.count) << c.name;
        EXPECT_EQ(double{item.invested}, 0.0) << c.name; // packed: compare a copy
    }
}

TEST(MakeQueueElement, RefusedAdds) {
    struct Case {
        const char* name;
        int entry;
        const char* text;
    } cases[] = {
        {"21 maximum-terraforming steps", 1, "21"},
        {"no digits", 2, "abc"},
        {"zero", 3, "0"},
        {"negative", 2, "-3"},
        {"empty text", 0, ""},
        {"no entry selected", -1, "5"},
        {"entry beyond the list", 4, "5"},
    };
    for (const Case& c : cases) {
        QueueItem item;
        item.kind = 42;
        EXPECT_FALSE(MakeQueueElement(Economy(), c.entry, c.text, item)) << c.name;
        EXPECT_EQ(item.kind, 42) << c.name << ": the output must stay untouched";
    }
}

TEST(MakeQueueElement, LaterCostChangeDoesNotRepriceMadeElements) {
    RaceParams race = Economy();
    QueueItem before;
    ASSERT_TRUE(MakeQueueElement(race, 2, "5", before));
    race.NResourceBuildFactory = 20;
    QueueItem after;
    ASSERT_TRUE(MakeQueueElement(race, 2, "5", after));
    EXPECT_EQ(before.unitCost, 12);
    EXPECT_EQ(after.unitCost, 20);
}

// The template buttons on a template of counts 1, 2, 3: the counts afterwards and the line
// selected afterwards, for every line and the edges (no selection, past the end).
TEST(QueueButtons, MoveAndDeleteLines) {
    using Button = int (*)(LIST_ITEM&, int);
    struct Case {
        const char* name;
        Button button;
        int line;
        std::vector<int32_t> counts;
        int selected;
    } cases[] = {
        {"up from the middle", MoveQueueLineUp, 1, {2, 1, 3}, 0},
        {"up from the last", MoveQueueLineUp, 2, {1, 3, 2}, 1},
        {"up from the first does nothing", MoveQueueLineUp, 0, {1, 2, 3}, -1},
        {"up without a selection", MoveQueueLineUp, -1, {1, 2, 3}, -1},
        {"up past the end", MoveQueueLineUp, 3, {1, 2, 3}, -1},
        {"down from the first", MoveQueueLineDown, 0, {2, 1, 3}, 1},
        {"down from the middle", MoveQueueLineDown, 1, {1, 3, 2}, 2},
        {"down from the last does nothing", MoveQueueLineDown, 2, {1, 2, 3}, -1},
        {"down without a selection", MoveQueueLineDown, -1, {1, 2, 3}, -1},
        {"delete the middle", DeleteQueueLine, 1, {1, 3}, -1},
        {"delete the last", DeleteQueueLine, 2, {1, 2}, -1},
        {"delete without a selection", DeleteQueueLine, -1, {1, 2, 3}, -1},
        {"delete past the end", DeleteQueueLine, 3, {1, 2, 3}, -1},
    };
    for (const Case& c : cases) {
        LIST_ITEM queue;
        for (int32_t count = 1; count <= 3; ++count) {
            const QueueItem item{Factories, 10, count, 0.0};
            queue.Append(&item);
        }
        EXPECT_EQ(c.button(queue, c.line), c.selected) << c.name;
        std::vector<int32_t> counts;
        for (const QueueItem& item : queue)
            counts.push_back(item.count);
        EXPECT_EQ(counts, c.counts) << c.name;
    }
}

} // namespace
} // namespace quendal
