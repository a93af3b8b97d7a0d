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

std::vector<std::unique_ptr<WalkGuard::Disposal>>& WalkGuard::retired() {
    static std::vector<std::unique_ptr<Disposal>> list;
    return list;
}

void WalkGuard::destroy_in_order(std::vector<std::unique_ptr<Disposal>>& list) {
    // Destroying an object may queue others on the same list; this loop takes them too, in the
    // order they were asked for. The caller holds a guard, so nothing is destroyed in between.
    for (size_t i = 0; i < list.size(); ++i) {
        std::unique_ptr<Disposal> d = std::move(list[i]);
    }
    list.clear();
}

void WalkGuard::flush() {
    ++depth;
    destroy_in_order(pending());
    --depth;
}

void WalkGuard::end_frame() {
    ++depth;
    destroy_in_order(retired());
    // What the destructors disposed of waits, as in a walk, until they are done.
    if (--depth == 0)
        flush();
}
