#include <gtest/gtest.h>

#include "emulators/display/DisplayList.h"

namespace qs::display {
namespace {

TEST(DisplayListWindows, FirstIsCurrentSelectionKeepsStickyNeverDeleted) {
    DisplayList list(ObjectScope::Shared);
    ASSERT_TRUE(list.AddWindow(5, 0x06));  // display 2, split
    ASSERT_TRUE(list.AddWindow(6, 0x02));
    EXPECT_EQ(list.CurrentWindow(2), 5);
    EXPECT_EQ(list.SelectWindow(6, 0x40, 2), std::optional<uint16_t>(5));
    EXPECT_EQ(list.SelectWindow(6, 0xBF & ~0x40, 2), std::optional<uint16_t>(6));
    EXPECT_EQ(list.FindDisplayWindow(6, 2)->flags, 0x9F | 0x40);
    EXPECT_EQ(list.SelectWindow(7, 0, 2), std::nullopt);
    EXPECT_EQ(list.SelectWindow(6, 0, 1), std::nullopt);  // another display
}

TEST(DisplayListObjects, AttachedTwiceListedOnce) {
    DisplayList list(ObjectScope::Shared);
    list.AddWindow(1, 0);
    DisplayObject* o = list.AddDisplayObject(9, 0);
    ASSERT_TRUE(list.AttachDisplayObject(1, 9, 0));
    o->flags &= static_cast<uint8_t>(~DisplayObject::kChanged);
    ASSERT_TRUE(list.AttachDisplayObject(1, 9, 0));
    EXPECT_EQ(list.FindDisplayWindow(1, 0)->objects, std::vector<uint16_t>{9});
    EXPECT_EQ(o->References(), 1);
    EXPECT_TRUE(o->flags & DisplayObject::kChanged);
    EXPECT_FALSE(list.AttachDisplayObject(2, 9, 0));
    EXPECT_FALSE(list.AttachDisplayObject(1, 8, 0));
}

TEST(DisplayListDelete, RefusalsThenTheSweep) {
    DisplayList list(ObjectScope::Shared);
    list.AddWindow(1, 0);
    list.AddWindow(2, 0);
    list.AddDisplayObject(9, 0);
    list.AttachDisplayObject(2, 9, 0);
    EXPECT_FALSE(list.DeleteWindow(1, 0));   // current
    EXPECT_FALSE(list.DeleteWindow(3, 0));   // missing
    EXPECT_FALSE(list.DeleteDisplayObject(9, 0));  // referenced
    EXPECT_TRUE(list.DeleteWindow(2, 0));
    EXPECT_EQ(list.FindDisplayWindow(2, 0), nullptr);
    EXPECT_EQ(list.FindDisplayObject(9, 0)->References(), 0);
    EXPECT_TRUE(list.DeleteDisplayObject(9, 0));
    EXPECT_EQ(list.FindDisplayObject(9, 0), nullptr);
    // Waiting for the sweep, the deleted ones can be neither found nor brought back.
    EXPECT_FALSE(list.AttachDisplayObject(1, 9, 0));
    EXPECT_EQ(list.SelectWindow(2, 0, 0), std::nullopt);
    EXPECT_EQ(list.Windows(0).size(), 2u);
    EXPECT_EQ(list.Objects(0).size(), 1u);
    const size_t used = list.Budget().Used();
    list.CollectGarbage(0);
    EXPECT_EQ(list.Windows(0).size(), 1u);
    EXPECT_TRUE(list.Objects(0).empty());
    EXPECT_EQ(list.Budget().Used(), used - 10 - 6 - 42);
    // A new object with the old id is a new object.
    ASSERT_NE(list.AddDisplayObject(9, 0), nullptr);
    EXPECT_EQ(list.FindDisplayObject(9, 0)->References(), 0);
}

TEST(DisplayListScope, SharedOrPerDisplay) {
    DisplayList shared(ObjectScope::Shared), panel(ObjectScope::PerDisplay);
    for (DisplayList* list : {&shared, &panel}) {
        list->AddWindow(1, 0);
        list->AddWindow(1, 3);
        list->AddDisplayObject(9, 0);
    }
    EXPECT_NE(shared.FindDisplayObject(9, 3), nullptr);
    EXPECT_EQ(panel.FindDisplayObject(9, 3), nullptr);
    EXPECT_TRUE(shared.AttachDisplayObject(1, 9, 3));
    EXPECT_FALSE(panel.AttachDisplayObject(1, 9, 3));
}

TEST(DisplayListIds, CountersPassOverIdsInUse) {
    DisplayList list(ObjectScope::PerDisplay);
    list.AddWindow(2, 2);
    EXPECT_EQ(list.NextWindowId(2), 1);
    list.AddWindow(1, 2);
    EXPECT_EQ(list.NextWindowId(2), 3);
    EXPECT_EQ(list.NextWindowId(0), 1);
    list.AddDisplayObject(1, 2);
    EXPECT_EQ(list.NextObjectId(2), 2);
    EXPECT_EQ(list.NextObjectId(1), 1);
}

TEST(MemoryBudgetSizes, ClassesRoundUp) {
    const std::pair<size_t, std::optional<size_t>> rows[] = {
        {0, 6},   {5, 6},     {6, 10},    {9, 10},    {10, 42},   {41, 42}, {42, 82},
        {81, 82}, {82, 642},  {640, 642}, {641, 9602}, {1025, 9602}, {9600, 9602}, {9601, std::nullopt},
    };
    for (const auto& [bytes, size] : rows) EXPECT_EQ(MemoryBudget::SizeClass(bytes), size) << bytes;
}

TEST(DisplayListBudget, FullMemoryRefusesThenASweepMakesRoom) {
    // Room for one window and three objects with one-byte payloads.
    DisplayList list(ObjectScope::Shared, 10 + 3 * (42 + 6));
    ASSERT_TRUE(list.AddWindow(1, 0));
    for (uint16_t id = 1; id <= 3; ++id) {
        DisplayObject* o = list.AddDisplayObject(id, 0);
        ASSERT_NE(o, nullptr);
        ASSERT_TRUE(list.SetPayload(*o, 0, {0}));
    }
    EXPECT_EQ(list.AddDisplayObject(4, 0), nullptr);
    EXPECT_FALSE(list.AddWindow(2, 0));
    // A larger payload that does not fit keeps the old one.
    DisplayObject* first = list.FindDisplayObject(1, 0);
    EXPECT_FALSE(list.SetPayload(*first, 0, std::vector<uint8_t>(100, 'x')));
    EXPECT_EQ(first->payload.size(), 1u);
    EXPECT_EQ(list.Budget().Used(), list.Budget().Limit());
    // A deleted object is swept when room is needed.
    ASSERT_TRUE(list.DeleteDisplayObject(2, 0));
    ASSERT_NE(list.AddDisplayObject(4, 0), nullptr);
    EXPECT_EQ(list.Objects(0).size(), 3u);
}

}  // namespace
}  // namespace qs::display
