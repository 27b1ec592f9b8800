#include "Clock.h"

#include <ctime>

namespace qv::platform {
namespace {

class PosixClock final : public Clock
{
public:
    LocalDateTime now() const override
    {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        return LocalDateTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                             local.tm_hour,        local.tm_min,     local.tm_sec > 59 ? 59 : local.tm_sec};
    }
};

} // namespace

const Clock& systemClock()
{
    static const PosixClock clock;
    return clock;
}

} // namespace qv::platform
