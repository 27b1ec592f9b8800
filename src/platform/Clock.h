#pragma once

#include "batch/TimedStart.h"

namespace qv::platform {

// The local wall clock. The timed start reads the time only through this, so tests can drive it.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual LocalDateTime now() const = 0;
};

// The machine's clock in local time.
const Clock& systemClock();

} // namespace qv::platform
