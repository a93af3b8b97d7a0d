#pragma once

#include <string>

#include "Mechanisms/AreaTrigger.h"

// Fires its script when the player uses it while the player's trigger overlaps it.
class UseTrigger : public AreaTrigger {
  public:
    UseTrigger() : AreaTrigger(use_type, {0.0f, 0.5f, 0.0f, 0.4f}) {}

    int32_t type() const override { return use_type; }
    std::unique_ptr<AreaTrigger> copy() const override;

    std::string script;

  private:
    UseTrigger(const UseTrigger&) = default;
};
