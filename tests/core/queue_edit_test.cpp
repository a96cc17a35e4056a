#include "model/queue_edit.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace quendal
