#include "clock.h"

#include <ctime>
#include <thread>

namespace hunt {

TimeOfDay SystemClock::now() const {
    const std::time_t seconds = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&seconds, &local) == nullptr)
        return {};
    return {local.tm_hour, local.tm_min, local.tm_sec};
}

void SystemClock::sleep(std::chrono::milliseconds duration) {
    std::this_thread::sleep_for(duration);
}

} // namespace hunt
