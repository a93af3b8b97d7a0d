#include "Core/WalkGuard.h"

namespace {
int depth = 0;
}

WalkGuard::WalkGuard() {
    ++depth;
}

WalkGuard::~WalkGuard() {
    if (--depth == 0)
        flush();
}

bool WalkGuard::active() {
    return depth > 0;
}

std::vector<std::unique_ptr<WalkGuard::Disposal>>& WalkGuard::pending() {
    static std::vector<std::unique_ptr<Disposal>> list;
    return list;
}

void WalkGuard::flush() {
    // Destroying an object may dispose of others; a guard keeps those queued until this loop
    // takes them too, in the order they were asked for.
    ++depth;
    auto& list = pending();
    for (size_t i = 0; i < list.size(); ++i) {
        std::unique_ptr<Disposal> d = std::move(list[i]);
    }
    list.clear();
    --depth;
}
