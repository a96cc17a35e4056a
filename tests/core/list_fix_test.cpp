#include "lists/list_fix.h"
#include "lists/queue_item.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace quendal {
namespace {

// Collects the list's records by walking it from the first, as the simulation does.
std::vector<int32_t> Kinds(LIST_ITEM& list) {
    std::vector<int32_t> kinds;
    for (QueueItem* item = list.First(); item; item = list.Next())
        kinds.push_back(item->kind);
    return kinds;
}

QueueItem Item(int32_t kind) {
    return QueueItem{kind, 100, 1, 0.0};
}

void Push(LIST_ITEM& list, int32_t kind) {
    const QueueItem item = Item(kind);
    list.Append(&item);
}

TEST(ListFix, AppendToEmptyListPutsCursorOnNewRecordOthersLeaveIt) {
    LIST_ITEM list;
    EXPECT_EQ(list.cursorPos(), 0);
    const QueueItem a = Item(1), b = Item(2);
    EXPECT_EQ(list.Append(&a), LIST_OK);
    EXPECT_EQ(list.cursorPos(), 1);
    EXPECT_EQ(list.Append(&b), LIST_OK);
    EXPECT_EQ(list.cursorPos(), 1);
    EXPECT_EQ(list.count(), 2);
    EXPECT_EQ(list.Append(nullptr), LIST_NO_RECORD);
    EXPECT_EQ(list.count(), 2);
}

TEST(ListFix, InsertAtCursorAndPositions) {
    LIST_ITEM list;
    for (int32_t k : {1, 2, 3})
        Push(list, k);
    ASSERT_EQ(list.Seek(2), LIST_OK);
    const QueueItem x = Item(9);
    // Position 0 inserts in front of the cursor record; the cursor stays on that record.
    EXPECT_EQ(list.InsertAt(&x, 0), LIST_OK);
    EXPECT_EQ(list.cursorPos(), 3);
    EXPECT_EQ(list.At(0)->kind, 2);
    EXPECT_EQ(Kinds(list), (std::vector<int32_t>{1, 9, 2, 3}));

    const QueueItem y = Item(8);
    EXPECT_EQ(list.InsertAt(&y, list.count() + 2), LIST_BAD_POS);
    EXPECT_EQ(list.InsertAt(&y, -1), LIST_BAD_POS);
    EXPECT_EQ(list.InsertAt(nullptr, 1), LIST_NO_RECORD);
    EXPECT_EQ(list.InsertAt(&y, list.count() + 1), LIST_OK); // appends
    EXPECT_EQ(list.InsertAt(&y, 1), LIST_OK);
    EXPECT_EQ(Kinds(list), (std::vector<int32_t>{8, 1, 9, 2, 3, 8}));
}

TEST(ListFix, InsertBeforeCursorShiftsCursorPosition) {
    LIST_ITEM list;
    for (int32_t k : {1, 2, 3})
        Push(list, k);
    list.Seek(3);
    const QueueItem x = Item(7);
    list.InsertAt(&x, 2);
    EXPECT_EQ(list.cursorPos(), 4);
    EXPECT_EQ(list.At(0)->kind, 3);
    list.InsertAt(&x, 5 + 1); // after the cursor: no shift
    EXPECT_EQ(list.cursorPos(), 4);
}

TEST(ListFix, RemoveCursorRecordMovesToNextOrPrevious) {
    LIST_ITEM list;
    for (int32_t k : {1, 2, 3})
        Push(list, k);
    list.Seek(2);
    EXPECT_EQ(list.RemoveAt(0), LIST_OK);
    EXPECT_EQ(list.cursorPos(), 2);
    EXPECT_EQ(list.At(0)->kind, 3);
    // The cursor record is now the last: the cursor falls back to the previous record.
    EXPECT_EQ(list.RemoveAt(2), LIST_OK);
    EXPECT_EQ(list.cursorPos(), 1);
    EXPECT_EQ(list.At(0)->kind, 1);
    EXPECT_EQ(list.RemoveAt(2), LIST_BAD_POS);
    EXPECT_EQ(list.RemoveAt(1), LIST_OK);
    EXPECT_EQ(list.cursorPos(), 0);
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.RemoveAt(0), LIST_EMPTY);
    EXPECT_EQ(list.FirstItem(), nullptr);
}

TEST(ListFix, RemoveBeforeCursorKeepsCursorOnItsRecord) {
    LIST_ITEM list;
    for (int32_t k : {1, 2, 3, 4})
        Push(list, k);
    list.Seek(3);
    list.RemoveAt(1);
    EXPECT_EQ(list.cursorPos(), 2);
    EXPECT_EQ(list.At(0)->kind, 3);
    list.RemoveAt(3); // after the cursor
    EXPECT_EQ(list.cursorPos(), 2);
    EXPECT_EQ(Kinds(list), (std::vector<int32_t>{2, 3}));
}

TEST(ListFix, SeekMoveNextAndStatusesOnEmptyList) {
    LIST_ITEM list;
    QueueItem out;
    EXPECT_EQ(list.Seek(1), LIST_EMPTY);
    EXPECT_EQ(list.MoveFirst(&out), LIST_EMPTY);
    EXPECT_EQ(list.MoveNext(&out), LIST_EMPTY);
    EXPECT_EQ(list.CopyAt(&out, 0), LIST_EMPTY);
    EXPECT_EQ(list.CopyAt(nullptr, 0), LIST_NO_RECORD);
    EXPECT_EQ(list.ItemAt(0), nullptr);
    EXPECT_EQ(list.NextItem(), nullptr);

    for (int32_t k : {1, 2})
        Push(list, k);
    EXPECT_EQ(list.Seek(0), LIST_BAD_POS);
    EXPECT_EQ(list.Seek(3), LIST_BAD_POS);
    EXPECT_EQ(list.Seek(2), LIST_OK);
    EXPECT_EQ(list.MoveNext(&out), LIST_AT_END);
    EXPECT_EQ(list.cursorPos(), 2);
    EXPECT_EQ(list.NextItem(), nullptr);
    EXPECT_EQ(list.cursorPos(), 2);
    EXPECT_EQ(list.MoveFirst(&out), LIST_OK);
    EXPECT_EQ(out.kind, 1);
    EXPECT_EQ(list.MoveNext(&out), LIST_OK);
    EXPECT_EQ(out.kind, 2);
    EXPECT_EQ(list.CopyAt(&out, 3), LIST_BAD_POS);
    EXPECT_EQ(list.ItemAt(3), nullptr);
    EXPECT_EQ(list.ItemAt(-1), nullptr);
}

// Every position reached from every cursor position must be the right record, whichever of
// the cursor, the first and the last node the walk starts from.
TEST(ListFix, FindNodeFromAnyCursorReachesEveryPosition) {
    for (int32_t n = 1; n <= 9; ++n) {
        LIST_ITEM list;
        for (int32_t k = 1; k <= n; ++k)
            Push(list, k);
        for (int32_t c = 1; c <= n; ++c) {
            list.Seek(c);
            for (int32_t p = 1; p <= n; ++p) {
                ASSERT_EQ(list.At(p)->kind, p) << "count " << n << " cursor " << c;
                ASSERT_EQ(list.cursorPos(), c);
            }
        }
    }
}

TEST(ListFix, ItemAtGivesWritableRecordAndClearEmpties) {
    LIST_ITEM list;
    const QueueItem a = Item(3);
    list.Append(&a);
    list.At(1)->invested = 12.5;
    QueueItem out;
    list.CopyAt(&out, 1);
    const double invested = out.invested; // a packed field: read it before comparing
    EXPECT_EQ(invested, 12.5);
    EXPECT_EQ(list.Clear(), LIST_OK);
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.cursorPos(), 0);
}

// A search refills the same lists for every trial: after a Clear the nodes are reused, not
// allocated again, and a refilled record holds the new bytes, not the old ones.
TEST(ListFix, RefillAfterClearReusesNodes) {
    LIST_ITEM list;
    Push(list, 1);
    Push(list, 2);
    const void* first = list.At(1);
    const void* second = list.At(2);
    list.Clear();
    Push(list, 5);
    Push(list, 6);
    Push(list, 7);
    EXPECT_EQ(Kinds(list), (std::vector<int32_t>{5, 6, 7}));
    EXPECT_TRUE((list.At(1) == first && list.At(2) == second) ||
                (list.At(1) == second && list.At(2) == first));
}

TEST(QueueLineText, PadsNamesByCharacters) {
    const std::tuple<QueueItem, const char*, const char*> cases[] = {
        {{MinTerraform, 100, 1, 0}, "Мин.терраформ.   1", "Min.terraform.   1"},
        {{MaxTerraform, 100, 20, 0}, "Макс.терраформ.  20", "Max.terraform.   20"},
        {{Factories, 10, 5000, 0}, "Фабрики          5000", "Factories        5000"},
        {{Mines, 5, 7, 0}, "Шахты            7", "Mines            7"},
        {{7, 100, 1, 0}, "неопред-й эл-нт", "undefined item"},
    };
    for (const auto& [item, russian, english] : cases) {
        EXPECT_EQ(QueueLineText(item, Language()), russian);
        EXPECT_EQ(QueueLineText(item, Language::English()), english);
    }
}

} // namespace
} // namespace quendal
