#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Scene/Entity.h"

namespace {

struct Plain : Entity {
    void draw(Renderer&, const Color&) override {}
};

// Returns its scripted flags in turn, logging each call.
struct Scripted : EntityController {
    Scripted(std::string n, std::vector<int32_t> f, std::vector<std::string>& l)
        : name(std::move(n)), flags(std::move(f)), log(l) {}
    ~Scripted() override { log.push_back("~" + name); }
    int32_t update(Entity&, float) override {
        log.push_back(name);
        int32_t r = flags.empty() ? 0 : flags.front();
        if (!flags.empty())
            flags.erase(flags.begin());
        return r;
    }
    std::string name;
    std::vector<int32_t> flags;
    std::vector<std::string>& log;
};

}  // namespace

TEST(Entity, FinishedControllersAreDestroyedAndTheWalkGoesOn) {
    std::vector<std::string> log;
    Plain e;
    e.add_controller(std::make_unique<Scripted>("a", std::vector<int32_t>{1}, log));
    e.add_controller(std::make_unique<Scripted>("b", std::vector<int32_t>{0, 0}, log));
    e.add_controller(std::make_unique<Scripted>("c", std::vector<int32_t>{1}, log));
    EXPECT_FALSE(e.update(0.01f));
    EXPECT_EQ(log, (std::vector<std::string>{"a", "~a", "b", "c", "~c"}));
    EXPECT_EQ(e.controllers.size(), 1u);
}

TEST(Entity, AControllerFinishingTheEntityMakesItsUpdateTrue) {
    std::vector<std::string> log;
    Plain e;
    e.add_controller(std::make_unique<Scripted>("a", std::vector<int32_t>{2}, log));
    e.add_controller(std::make_unique<Scripted>("b", std::vector<int32_t>{0}, log));
    EXPECT_TRUE(e.update(0.01f));
    EXPECT_EQ(log, (std::vector<std::string>{"a", "b"}));  // every controller still ran
    e.add_controller(std::make_unique<Scripted>("c", std::vector<int32_t>{3}, log));
    EXPECT_TRUE(e.update(0.01f));  // both flags at once
}

TEST(Entity, ColourComponentsAreClampedBelowOnly) {
    Plain e;
    EXPECT_EQ(e.colour, (Color{1, 1, 1, 1}));
    e.set_colour(-1.0f, 0.5f, 3.0f, -0.1f);
    EXPECT_EQ(e.colour, (Color{0.0f, 0.5f, 3.0f, 0.0f}));
}
