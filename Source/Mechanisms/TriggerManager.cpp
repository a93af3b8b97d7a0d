#include "Mechanisms/TriggerManager.h"

#include <algorithm>

#include "Core/WalkGuard.h"
#include "Mechanisms/GateTrigger.h"
#include "Mechanisms/TimedTrigger.h"
#include "Mechanisms/UseTrigger.h"
#include "Physics/Collision.h"
#include "Shell/Game.h"

namespace {

// Below this many usable gates every pair is tested.
constexpr size_t broad_phase_from = 8;

}  // namespace

TriggerManager::~TriggerManager() {
    for (Entry& e : entries_)
        e.owned.reset();
}

void TriggerManager::update(float dt) {
    if (entries_.empty())
        return;
    // Destruction asked for by the scripts waits for the end of the walk.
    WalkGuard guard;
    ++walking_;
    // Everything may have moved since the last frame.
    boxes_stale_ = true;
    // The size is read on every step: scripts may append triggers, which this walk reaches.
    for (size_t i = 0; i < entries_.size(); ++i) {
        Trigger* t = entries_[i].get();
        if (!t)
            continue;
        if (t->kind() == Trigger::timed_type)
            update_timed(i, static_cast<TimedTrigger&>(*t), dt);
        else if (t->kind() == Trigger::gate_type)
            update_gate(i, static_cast<GateTrigger&>(*t));
    }
    if (--walking_ == 0)
        compact();
}

void TriggerManager::update_timed(size_t index, TimedTrigger& timed, float dt) {
    timed.timer.advance(dt);
    if (timed.timer.ticks <= 0)
        return;
    // However many periods passed in this frame, the trigger fires once.
    timed.timer.ticks = 0;
    fire(timed.script, timed.id, "script of timed trigger");
    if (!timed.repeat && live_at(index, &timed))
        drop(entries_[index]);
}

void TriggerManager::update_gate(size_t index, GateTrigger& self) {
    // A gate without a shape or without groups can use no other gate.
    if (!self.shape || self.belong_to.empty())
        return;
    size_t k = 0;
    const std::vector<size_t>* pairs = &pairs_for(self, 0, k);
    for (; k < pairs->size(); ++k) {
        const size_t j = (*pairs)[k];
        Trigger* u = entries_[j].get();
        if (!u || u == &self)
            continue;
        auto& other = static_cast<GateTrigger&>(*u);
        if (!self.can_use(other))
            continue;
        ++pair_tests_;
        const bool inside = self.is_inside(other);
        const bool overlap = self.overlaps(other);
        if (overlap && !inside) {
            self.enter(other);
            fire(self.enter_script, self.id, "enter script of gate trigger");
        } else if (!overlap && inside) {
            self.leave(other);
            fire(self.leave_script, self.id, "leave script of gate trigger");
        } else {
            continue;
        }
        // The script may have taken this gate out (a new level, say): it tests nothing more.
        if (!live_at(index, &self))
            return;
        // It may have added triggers, changed groups or moved gates: go on after j with what
        // is there now.
        if (usable_stale() || boxes_stale_) {
            pairs = &pairs_for(self, j + 1, k);
            --k;
        }
    }
}

void TriggerManager::fire(const std::string& script, int32_t id, const char* origin) {
    // Without a path no script runs, and nothing can have changed.
    if (!script.empty())
        boxes_stale_ = true;
    fire_trigger_script(script, id, origin);
}

const std::vector<size_t>& TriggerManager::pairs_for(const GateTrigger& self, size_t from,
                                                     size_t& first) {
    refresh_usable();
    // With few gates to use, testing each costs less than finding the few.
    if (!broad_phase_ || usable_.size() < broad_phase_from) {
        first = static_cast<size_t>(std::lower_bound(usable_.begin(), usable_.end(), from) -
                                    usable_.begin());
        return usable_;
    }
    if (boxes_stale_ || boxes_version_ != version_ || boxes_groups_ != GroupList::changes()) {
        broad_.clear();
        for (size_t j : usable_)
            broad_.add(j, static_cast<const GateTrigger&>(*entries_[j].get()));
        broad_.finish();
        boxes_stale_ = false;
        boxes_version_ = version_;
        boxes_groups_ = GroupList::changes();
    }
    broad_.candidates(self, from, candidates_);
    first = 0;
    return candidates_;
}

void TriggerManager::refresh_usable() {
    if (!usable_stale())
        return;
    usable_.clear();
    for (size_t i = 0; i < entries_.size(); ++i) {
        const Trigger* t = entries_[i].get();
        if (t && t->kind() == Trigger::gate_type &&
            !static_cast<const GateTrigger*>(t)->can_use_me.empty())
            usable_.push_back(i);
    }
    usable_version_ = version_;
    usable_groups_ = GroupList::changes();
}

bool TriggerManager::usable_stale() const {
    return usable_version_ != version_ || usable_groups_ != GroupList::changes();
}

void TriggerManager::use_triggers(AreaTrigger* user) {
    if (!user || entries_.empty())
        return;
    WalkGuard guard;
    ++walking_;
    const Ref<Trigger> user_alive(user);
    // The user's box, worked out again after every script (which may move the user): a use
    // trigger whose box it does not meet cannot overlap it.
    Bounds user_box;
    Reach user_reach = Reach::anything;
    bool user_boxed = false;
    for (size_t i = 0; i < entries_.size() && user_alive; ++i) {
        Trigger* t = entries_[i].get();
        if (!t || t->kind() != Trigger::use_type)
            continue;
        auto& use = static_cast<UseTrigger&>(*t);
        if (!use.can_use(*user))
            continue;
        if (broad_phase_ && use.shape && user->shape) {
            if (!user_boxed) {
                user_reach = overlap_bounds(*user->shape, user->transform, user_box);
                user_boxed = true;
            }
            Bounds box;
            if (user_reach == Reach::bounded &&
                overlap_bounds(*use.shape, use.transform, box) == Reach::bounded &&
                !box.meets(user_box))
                continue;
        }
        if (use.overlaps(*user)) {
            user_boxed = use.script.empty() && user_boxed;
            fire_trigger_script(use.script, use.id, "script of use trigger");
        }
    }
    if (--walking_ == 0)
        compact();
}

void TriggerManager::draw(Renderer& renderer) const {
    for (const Entry& e : entries_)
        if (const Trigger* t = e.get())
            t->draw(renderer);
}

Trigger* TriggerManager::add(std::unique_ptr<Trigger> trigger) {
    Trigger* t = trigger.get();
    if (t) {
        entries_.push_back({std::move(trigger), {}});
        ++version_;
    }
    return t;
}

void TriggerManager::add_carried(Trigger* trigger) {
    if (trigger) {
        entries_.push_back({nullptr, Ref<Trigger>(trigger)});
        ++version_;
    }
}

void TriggerManager::remove(const Trigger* trigger) {
    if (!trigger)
        return;
    for (Entry& e : entries_)
        if (e.get() == trigger)
            drop(e);
    if (walking_ == 0)
        compact();
}

void TriggerManager::remove_area_triggers() {
    for (Entry& e : entries_) {
        const Trigger* t = e.get();
        if (t && t->kind() != Trigger::timed_type)
            drop(e);
    }
    if (walking_ == 0)
        compact();
}

int32_t TriggerManager::remove_owned_with_id(int32_t id, const Trigger* keep) {
    int32_t removed = 0;
    for (Entry& e : entries_) {
        if (e.owned && e.owned->id == id && e.owned.get() != keep) {
            drop(e);
            ++removed;
        }
    }
    if (walking_ == 0)
        compact();
    return removed;
}

void TriggerManager::drop(Entry& entry) {
    ++version_;
    entry.carried.reset();
    if (!entry.owned)
        return;
    std::unique_ptr<Trigger> doomed = std::move(entry.owned);
    doomed->release_references();
    // A walk may still be inside this trigger's script: then it lives until the walk ends.
    WalkGuard::dispose(std::move(doomed));
}

void TriggerManager::compact() {
    if (std::erase_if(entries_, [](const Entry& e) { return !e.get(); }) > 0)
        ++version_;
}

size_t TriggerManager::count() const {
    return static_cast<size_t>(
        std::count_if(entries_.begin(), entries_.end(), [](const Entry& e) { return e.get(); }));
}

std::vector<Trigger*> TriggerManager::triggers() const {
    std::vector<Trigger*> list;
    for (const Entry& e : entries_)
        if (Trigger* t = e.get())
            list.push_back(t);
    return list;
}

bool TriggerManager::contains(const Trigger* trigger) const {
    return trigger && std::any_of(entries_.begin(), entries_.end(),
                                  [&](const Entry& e) { return e.get() == trigger; });
}

void dispose_carried_trigger(std::unique_ptr<AreaTrigger> trigger) {
    if (!trigger)
        return;
    if (TriggerManager* manager = Game::instance().triggers.get())
        manager->remove(trigger.get());
    trigger->release_references();
    WalkGuard::dispose(std::move(trigger));
}
