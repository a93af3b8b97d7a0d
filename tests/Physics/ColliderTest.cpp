#include <gtest/gtest.h>

#include <cmath>

#include "Physics/CircleShape.h"
#include "Physics/Collider.h"
#include "Physics/PolygonShape.h"
#include "PhysicsTestSupport.h"

namespace {

using physics_test::at;
using physics_test::expect_near;

ColliderList list_of(std::initializer_list<std::pair<int32_t, const Shape*>> items) {
    ColliderList list;
    float x = 0.0f;
    for (auto [id, shape] : items) {
        list.push_back(make_collider(id, shape, x, 0.0f));
        x += 100.0f;
    }
    return list;
}

TEST(ColliderTest, MakeColliderTakesAClonePlacedAtThePosition) {
    auto box = PolygonShape::box(3.0f, 4.0f);
    auto c = make_collider(7, box.get(), 10.0f, -20.0f);
    EXPECT_EQ(c->id, 7);
    EXPECT_EQ(c->bounding_radius, 5.0f);
    EXPECT_EQ(c->transform.position, Vector2(10, -20));
    EXPECT_EQ(c->transform.axis_x, Vector2(1, 0));
    EXPECT_EQ(c->transform.axis_y, Vector2(0, 1));
    EXPECT_EQ(c->transform.scale, 1.0f);
    EXPECT_EQ(c->color, (Color{0.0f, 0.0f, 1.0f, 0.5f}));
    ASSERT_NE(c->shape, nullptr);
    ASSERT_NE(c->shape.get(), box.get());
    // Later edits of the script's shape do not reach the collider.
    box->set_vertex(2, 30.0f, 40.0f);
    EXPECT_EQ(static_cast<PolygonShape&>(*c->shape).vertex(2), Vector2(3, 4));

    auto bare = make_collider(8, nullptr, 1.0f, 2.0f);
    EXPECT_EQ(bare->shape, nullptr);
    EXPECT_EQ(bare->bounding_radius, 0.0f);
    EXPECT_EQ(bare->transform.position, Vector2(1, 2));
}

TEST(ColliderTest, CopyHasItsOwnShape) {
    CircleShape circle(1.0f, 2.0f, 3.0f);
    auto c = make_collider(4, &circle, 5.0f, 6.0f);
    c->color = {0.1f, 0.2f, 0.3f, 0.4f};
    c->transform.set_rotation(0.5f);
    auto copy = c->copy();
    EXPECT_EQ(copy->id, 4);
    EXPECT_EQ(copy->bounding_radius, 3.0f);
    EXPECT_EQ(copy->transform.position, c->transform.position);
    EXPECT_EQ(copy->transform.axis_x, c->transform.axis_x);
    EXPECT_EQ(copy->color, c->color);
    ASSERT_NE(copy->shape, nullptr);
    ASSERT_NE(copy->shape.get(), c->shape.get());
    static_cast<CircleShape&>(*c->shape).radius = 9.0f;
    EXPECT_EQ(static_cast<CircleShape&>(*copy->shape).radius, 3.0f);

    EXPECT_EQ(make_collider(1, nullptr, 0.0f, 0.0f)->copy()->shape, nullptr);
}

TEST(ColliderTest, FindAndRemoveTakeTheFirstWithTheId) {
    ColliderList list = list_of({{1, nullptr}, {2, nullptr}, {1, nullptr}, {3, nullptr}});
    Collider* first = list[0].get();
    Collider* second_one = list[2].get();
    EXPECT_EQ(find_collider(list, 1), first);
    EXPECT_EQ(find_collider(list, 9), nullptr);

    remove_collider(list, 1);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0]->id, 2);
    EXPECT_EQ(list[1].get(), second_one);
    EXPECT_EQ(list[2]->id, 3);
    EXPECT_EQ(find_collider(list, 1), second_one);

    remove_collider(list, 9);
    EXPECT_EQ(list.size(), 3u);
    remove_collider(list, 1);
    remove_collider(list, 1);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0]->id, 2);
    EXPECT_EQ(list[1]->id, 3);
}

TEST(ColliderTest, PlayerSinkingIntoTheGroundIsLiftedOut) {
    auto ground = PolygonShape::box(10.0f, 1.0f);
    ColliderList list;
    list.push_back(make_collider(1, ground.get(), 0.0f, 0.0f));
    CircleShape player(0.0f, 0.0f, 1.0f);
    PushOut push = push_out(player, at(0.0f, 1.5f), list);
    EXPECT_EQ(push.collider, list[0].get());
    EXPECT_EQ(push.offset, Vector2(0, 0.5f));
    // Once lifted the player only touches the ground, and nothing pushes.
    PushOut after = push_out(player, at(0.0f, 2.0f), list);
    EXPECT_EQ(after.collider, nullptr);
    EXPECT_EQ(after.offset, Vector2(0, 0));
}

TEST(ColliderTest, OnlyTheFirstCollidingColliderInListOrderPushes) {
    auto wall = PolygonShape::box(1.0f, 5.0f);
    CircleShape player(0.0f, 0.0f, 1.0f);
    ColliderList list;
    list.push_back(make_collider(1, wall.get(), 1.5f, 0.0f));   // 0.5 deep on the right
    list.push_back(make_collider(2, wall.get(), -1.8f, 0.0f));  // 0.2 deep on the left
    PushOut push = push_out(player, at(0, 0), list);
    EXPECT_EQ(push.collider, list[0].get());
    expect_near(push.offset, {-0.5f, 0});

    std::swap(list[0], list[1]);
    push = push_out(player, at(0, 0), list);
    EXPECT_EQ(push.collider->id, 2);
    expect_near(push.offset, {0.2f, 0});
}

TEST(ColliderTest, CollidersWithoutShapesOrOutOfReachAreSkipped) {
    auto wall = PolygonShape::box(1.0f, 5.0f);
    CircleShape player(0.0f, 0.0f, 1.0f);
    ColliderList list;
    list.push_back(make_collider(1, nullptr, 0.0f, 0.0f));
    list.push_back(make_collider(2, wall.get(), 50.0f, 0.0f));
    list.push_back(make_collider(3, wall.get(), 2.0f, 0.0f));  // touching only
    list.push_back(make_collider(4, wall.get(), -1.5f, 0.0f));
    PushOut push = push_out(player, at(0, 0), list);
    EXPECT_EQ(push.collider, list[3].get());
    expect_near(push.offset, {0.5f, 0});
    EXPECT_EQ(push_out(player, at(0, 0), ColliderList{}).collider, nullptr);
}

TEST(ColliderTest, PushUsesTheDeepestOfTwoContacts) {
    // A slightly turned box sinks one bottom corner deeper than the other into the ground.
    auto ground = PolygonShape::box(10.0f, 1.0f);
    auto player = PolygonShape::box(1.0f, 1.0f);
    ColliderList list;
    list.push_back(make_collider(1, ground.get(), 0.0f, 0.0f));
    Transform turned = at(0.0f, 1.8f);
    turned.set_rotation(0.1f);
    PushOut push = push_out(*player, turned, list);
    ASSERT_NE(push.collider, nullptr);
    double low_corner = 1.8 - std::cos(0.1) - std::sin(0.1);
    EXPECT_NEAR(push.offset.x, 0.0f, 1e-6f);
    EXPECT_NEAR(push.offset.y, 1.0 - low_corner, 1e-5);
}

TEST(ColliderTest, CirclesDrawnAwayFromTheirOriginStillPush) {
    // The collider sits at the origin but its circle is 100 units to the right.
    CircleShape far_circle(100.0f, 0.0f, 10.0f);
    ColliderList list;
    list.push_back(make_collider(1, &far_circle, 0.0f, 0.0f));
    CircleShape player(0.0f, 0.0f, 5.0f);
    PushOut push = push_out(player, at(100.0f, 12.0f), list);
    EXPECT_EQ(push.collider, list[0].get());
    expect_near(push.offset, {0, 3.0f});

    // The same for the player's own circle drawn above its feet, and for a scaled player.
    CircleShape raised(0.0f, 40.0f, 5.0f);
    push = push_out(raised, at(100.0f, -28.0f), list);
    EXPECT_EQ(push.collider, list[0].get());
    expect_near(push.offset, {0, 3.0f});
    push = push_out(player, at(100.0f, 14.0f, 2.0f), list);
    EXPECT_EQ(push.collider, list[0].get());
    expect_near(push.offset, {0, 6.0f});
}

}  // namespace
