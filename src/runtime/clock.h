#pragma once
#include <chrono>

namespace hunt {

struct TimeOfDay {
    int hour = 0, minute = 0, second = 0;
};

// The platform's clock and thread sleep; tests fix the time and record the sleeps.
class Clock {
public:
    virtual ~Clock() = default;
    virtual TimeOfDay now() const = 0; // local time
    virtual void sleep(std::chrono::milliseconds duration) = 0;
};

class SystemClock final : public Clock {
public:
    TimeOfDay now() const override;
    void sleep(std::chrono::milliseconds duration) override;
};

} // namespace hunt
