#include <gtest/gtest.h>

#include <memory>

#include "Render/Registry.h"

namespace {

int destroyed = 0;

struct Probe {
    int value;
    ~Probe() { ++destroyed; }
};

TEST(Registry, KeepsTheFirstObjectOfANameAndDestroysLaterOnes) {
    Registry<Probe>& registry = Registry<Probe>::instance();
    EXPECT_TRUE(registry.add("a", std::make_unique<Probe>(1)));
    destroyed = 0;
    EXPECT_FALSE(registry.add("a", std::make_unique<Probe>(2)));
    EXPECT_EQ(destroyed, 1);
    ASSERT_TRUE(registry.find("a"));
    EXPECT_EQ(registry.find("a")->value, 1);
    EXPECT_TRUE(registry.add("b", std::make_unique<Probe>(3)));
    EXPECT_EQ(registry.find("b")->value, 3);
    EXPECT_EQ(registry.size(), 2u);
}

TEST(Registry, LookingUpAnAbsentNameCreatesNoEntry) {
    Registry<Probe>& registry = Registry<Probe>::instance();
    EXPECT_EQ(registry.find("absent"), nullptr);
    EXPECT_EQ(registry.find(""), nullptr);
    EXPECT_FALSE(registry.add("empty", nullptr));
    EXPECT_EQ(registry.find("empty"), nullptr);
    EXPECT_EQ(registry.size(), 0u);
}

TEST(Registry, EachKindHasOneProcessWideRegistry) {
    EXPECT_EQ(&Registry<Probe>::instance(), &Registry<Probe>::instance());
    Registry<Probe>::instance().add("x", std::make_unique<Probe>(4));
    EXPECT_EQ(Registry<int>::instance().size(), 0u);
    EXPECT_EQ(Registry<Probe>::instance().size(), 1u);
}

}  // namespace
