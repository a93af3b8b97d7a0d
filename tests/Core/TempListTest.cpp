#include <gtest/gtest.h>

#include "Core/TempList.h"
#include "Core/Tracked.h"
#include "Core/WalkGuard.h"

namespace {
struct Thing : Tracked {
    explicit Thing(int v) : value(v) {}
    int value;
};
}  // namespace

TEST(Ref, EmptiesWhenItsTargetIsDestroyedAndDoesNotFollowCopies) {
    auto thing = std::make_unique<Thing>(1);
    Ref<Thing> a(thing.get());
    Ref<Thing> b = a;
    EXPECT_EQ(a.get(), thing.get());
    Thing copy = *thing;
    Ref<Thing> c(&copy);
    thing.reset();
    EXPECT_EQ(a.get(), nullptr);
    EXPECT_FALSE(b);
    EXPECT_EQ(c.get(), &copy);
    EXPECT_EQ(Ref<Thing>(nullptr).get(), nullptr);
}

TEST(TempList, PutFindTakeAndForget) {
    TempList<Thing> list;
    EXPECT_EQ(list.find("a"), nullptr);
    list.put("a", std::make_unique<Thing>(1));
    list.put("b", std::make_unique<Thing>(2));
    ASSERT_NE(list.find("a"), nullptr);
    EXPECT_EQ(list.find("a")->value, 1);

    // Replacing a name: the earlier object is no longer reachable by it.
    Thing* first_a = list.find("a");
    Ref<Thing> first_ref(first_a);
    list.put("a", std::make_unique<Thing>(3));
    EXPECT_EQ(list.find("a")->value, 3);
    EXPECT_TRUE(first_ref) << "a replaced object lives until the frame ends";

    auto taken = list.take("a");
    ASSERT_TRUE(taken);
    EXPECT_EQ(taken->value, 3);
    EXPECT_EQ(list.find("a"), nullptr);
    EXPECT_FALSE(list.take("a"));

    Ref<Thing> b_ref(list.find("b"));
    list.forget("b");
    EXPECT_EQ(list.find("b"), nullptr);
    EXPECT_TRUE(b_ref) << "a forgotten object lives until the frame ends";
    list.forget("never there");
    WalkGuard::end_frame();
    EXPECT_FALSE(first_ref) << "a replaced object goes when the frame ends";
    EXPECT_FALSE(b_ref) << "a forgotten object goes when the frame ends";
    EXPECT_EQ(taken->value, 3) << "a taken object belongs to its taker";
}

TEST(TempList, RetiredObjectsWaitForTheFrameEndEvenAfterAWalk) {
    TempList<Thing> list;
    list.put("a", std::make_unique<Thing>(1));
    Ref<Thing> first(list.find("a"));
    {
        WalkGuard walk;
        list.put("a", std::make_unique<Thing>(2));
    }
    EXPECT_TRUE(first) << "the end of a walk is not the end of the frame";
    EXPECT_EQ(WalkGuard::retired_count(), 1u);
    WalkGuard::end_frame();
    EXPECT_FALSE(first);
    EXPECT_EQ(WalkGuard::retired_count(), 0u);
    // An alias that a new object replaces retires nothing: its owner still has the object.
    list.put("door", std::make_unique<Thing>(7));
    std::unique_ptr<Thing> owner = list.take_keeping_alias("door");
    list.put("door", std::make_unique<Thing>(8));
    EXPECT_EQ(WalkGuard::retired_count(), 0u);
    WalkGuard::end_frame();
    EXPECT_EQ(owner->value, 7);
}

TEST(TempList, AnAliasConfiguresTheObjectUntilItsOwnerDestroysIt) {
    TempList<Thing> list;
    list.put("door", std::make_unique<Thing>(7));
    std::unique_ptr<Thing> owner = list.take_keeping_alias("door");
    ASSERT_TRUE(owner);
    // The name still finds the object, but nobody else can take it.
    EXPECT_EQ(list.find("door"), owner.get());
    EXPECT_FALSE(list.take("door"));
    EXPECT_FALSE(list.take_keeping_alias("door"));
    owner.reset();
    EXPECT_EQ(list.find("door"), nullptr);
    // A new object may use the name again.
    list.put("door", std::make_unique<Thing>(8));
    EXPECT_EQ(list.find("door")->value, 8);
}
