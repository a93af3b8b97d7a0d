#include "Mechanisms/GateTrigger.h"

std::unique_ptr<AreaTrigger> GateTrigger::copy() const {
    return std::unique_ptr<AreaTrigger>(new GateTrigger(*this));
}
