// Trigger parts with exact rules: group lists, the group test and copies.
#include <gtest/gtest.h>

#include "Mechanisms/GateTrigger.h"
#include "Mechanisms/UseTrigger.h"
#include "Physics/CircleShape.h"

namespace {

GroupList groups(std::initializer_list<const char*> names) {
    GroupList list;
    for (const char* n : names)
        list.add(n);
    return list;
}

}  // namespace

TEST(GroupList, EveryoneReplacesTheListAndANamedGroupReplacesEveryone) {
    GroupList list;
    list.add("player");
    list.add("enemy");
    list.add("player");
    EXPECT_EQ(list.names(), (std::vector<std::string>{"player", "enemy", "player"}));
    list.add("everyone");
    EXPECT_EQ(list.names(), (std::vector<std::string>{"everyone"}));
    EXPECT_TRUE(list.is_everyone());
    list.add("everyone");
    EXPECT_EQ(list.names(), (std::vector<std::string>{"everyone"}));
    list.add("player");
    EXPECT_EQ(list.names(), (std::vector<std::string>{"player"}));
    EXPECT_FALSE(list.is_everyone());
}

TEST(GroupList, MatrixOfBelongToAgainstCanUseMe) {
    struct Case {
        GroupList belongs;
        GroupList can_use_me;
        bool uses;
    } cases[] = {
        {groups({}), groups({}), false},
        {groups({}), groups({"everyone"}), false},
        {groups({"everyone"}), groups({}), false},
        {groups({"everyone"}), groups({"coin"}), true},
        {groups({"everyone"}), groups({"everyone"}), true},
        {groups({"player"}), groups({"everyone"}), true},
        {groups({"player"}), groups({}), false},
        {groups({"player"}), groups({"enemy"}), false},
        {groups({"player"}), groups({"enemy", "player"}), true},
        {groups({"enemy", "player"}), groups({"player"}), true},
        {groups({"Player"}), groups({"player"}), false},
        {groups({""}), groups({""}), true},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(groups_can_use(cases[i].belongs, cases[i].can_use_me), cases[i].uses)
            << "case " << i;
}

TEST(AreaTrigger, CopyHasItsOwnShapeAndAnEmptyInsideList) {
    GateTrigger gate;
    gate.id = 12;
    gate.enter_script = "in.lua";
    gate.leave_script = "out.lua";
    gate.transform.position = {3, 4};
    gate.colour = {1, 0, 1, 1};
    gate.belong_to.add("bullet");
    gate.can_use_me.add("player");
    gate.shape = std::make_unique<CircleShape>(0.0f, 0.0f, 5.0f);
    GateTrigger other;
    gate.enter(other);
    ASSERT_TRUE(gate.is_inside(other));

    std::unique_ptr<AreaTrigger> copy = gate.copy();
    auto* c = dynamic_cast<GateTrigger*>(copy.get());
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->id, 12);
    EXPECT_EQ(c->enter_script, "in.lua");
    EXPECT_EQ(c->leave_script, "out.lua");
    EXPECT_EQ(c->transform.position, (Vector2{3, 4}));
    EXPECT_EQ(c->colour, (Color{1, 0, 1, 1}));
    EXPECT_EQ(c->belong_to.names(), gate.belong_to.names());
    EXPECT_EQ(c->can_use_me.names(), gate.can_use_me.names());
    ASSERT_NE(c->shape, nullptr);
    EXPECT_NE(c->shape.get(), gate.shape.get());
    EXPECT_EQ(static_cast<CircleShape&>(*c->shape).radius, 5.0f);
    EXPECT_FALSE(c->is_inside(other));
    EXPECT_EQ(c->inside_count(), 0u);

    UseTrigger use;
    use.script = "use.lua";
    std::unique_ptr<AreaTrigger> use_copy = use.copy();
    ASSERT_EQ(use_copy->type(), Trigger::use_type);
    EXPECT_EQ(static_cast<UseTrigger&>(*use_copy).script, "use.lua");
    EXPECT_EQ(use_copy->shape, nullptr);
}

TEST(AreaTrigger, InsideEntryOfADestroyedTriggerReadsAsGone) {
    GateTrigger gate;
    auto other = std::make_unique<GateTrigger>();
    gate.enter(*other);
    EXPECT_EQ(gate.inside_count(), 1u);
    other.reset();
    // A new trigger may be made at the same address; it is not inside.
    auto fresh = std::make_unique<GateTrigger>();
    EXPECT_FALSE(gate.is_inside(*fresh));
    EXPECT_EQ(gate.inside_count(), 0u);
}
