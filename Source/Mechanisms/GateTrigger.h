#pragma once

#include <string>

#include "Mechanisms/AreaTrigger.h"

// Fires its enter script when it starts to overlap a gate it may use, and its leave script when
// that overlap ends.
class GateTrigger : public AreaTrigger {
  public:
    GateTrigger() : AreaTrigger(gate_type, {0.5f, 0.0f, 0.0f, 0.4f}) {}

    int32_t type() const override { return gate_type; }
    std::unique_ptr<AreaTrigger> copy() const override;

    std::string enter_script;
    std::string leave_script;

  private:
    GateTrigger(const GateTrigger&) = default;
};
