#include "Mechanisms/TriggerBroadPhase.h"

#include <algorithm>
#include <cmath>

#include "Mechanisms/AreaTrigger.h"
#include "Physics/Collision.h"

void TriggerBroadPhase::clear() {
    boxed_.clear();
    lefts_.clear();
    widest_ = 0.0f;
    reach_far_.clear();
    indices_.clear();
    by_trigger_.clear();
}

void TriggerBroadPhase::add(size_t index, const AreaTrigger& gate) {
    indices_.push_back(index);
    by_trigger_.emplace_back(reinterpret_cast<uintptr_t>(static_cast<const Trigger*>(&gate)),
                             index);
    if (!gate.shape)
        return;  // overlaps nothing
    Bounds box;
    switch (overlap_bounds(*gate.shape, gate.transform, box)) {
        case Reach::nothing:
            break;
        case Reach::bounded:
            boxed_.push_back({box, index});
            break;
        case Reach::anything:
            reach_far_.push_back(index);
            break;
    }
}

void TriggerBroadPhase::finish() {
    // A search by left edge looks back as far as the widest box: the few boxes much wider than
    // the typical one (a whole-level area, say) are tested with every gate instead.
    if (!boxed_.empty()) {
        double sum = 0.0;
        for (const Boxed& b : boxed_)
            sum += static_cast<double>(b.box.right) - b.box.left;
        const double wide = 8.0 * sum / static_cast<double>(boxed_.size());
        const auto far = std::stable_partition(boxed_.begin(), boxed_.end(), [&](const Boxed& b) {
            return static_cast<double>(b.box.right) - b.box.left <= wide;
        });
        for (auto it = far; it != boxed_.end(); ++it)
            reach_far_.push_back(it->index);
        boxed_.erase(far, boxed_.end());
        std::sort(reach_far_.begin(), reach_far_.end());
    }
    std::sort(boxed_.begin(), boxed_.end(),
              [](const Boxed& a, const Boxed& b) { return a.box.left < b.box.left; });
    for (const Boxed& b : boxed_) {
        lefts_.push_back(b.box.left);
        widest_ = std::max(widest_, b.box.right - b.box.left);
    }
    std::sort(by_trigger_.begin(), by_trigger_.end());
}

void TriggerBroadPhase::candidates(const AreaTrigger& self, size_t from,
                                   std::vector<size_t>& out) const {
    out.clear();
    Bounds box;
    const Reach reach =
        self.shape ? overlap_bounds(*self.shape, self.transform, box) : Reach::nothing;
    if (reach == Reach::anything) {
        // No box to search with: every gate, as without a broad phase.
        out.assign(std::lower_bound(indices_.begin(), indices_.end(), from), indices_.end());
        return;
    }
    if (reach == Reach::bounded) {
        // A little further back than the widest box, for the rounding of the subtraction.
        const float back = box.left - widest_ * 1.001f - std::fabs(box.left) * 1e-6f;
        const auto first = std::lower_bound(lefts_.begin(), lefts_.end(), back);
        const auto last = std::upper_bound(first, lefts_.end(), box.right);
        for (auto it = first; it != last; ++it) {
            const Boxed& b = boxed_[static_cast<size_t>(it - lefts_.begin())];
            if (b.index >= from && b.box.meets(box))
                out.push_back(b.index);
        }
        for (size_t index : reach_far_)
            if (index >= from)
                out.push_back(index);
    }
    // The gates it is inside of: each may end its overlap now.
    self.for_each_inside([&](const Trigger& other) {
        const auto key = reinterpret_cast<uintptr_t>(&other);
        auto it = std::lower_bound(by_trigger_.begin(), by_trigger_.end(),
                                   std::make_pair(key, size_t{0}));
        for (; it != by_trigger_.end() && it->first == key; ++it)
            if (it->second >= from)
                out.push_back(it->second);
    });
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
}
