#include "Mechanisms/UseTrigger.h"

std::unique_ptr<AreaTrigger> UseTrigger::copy() const {
    return std::unique_ptr<AreaTrigger>(new UseTrigger(*this));
}
