#include "runtime.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace hunt {

std::string Runtime::timestr() const {
    const TimeOfDay time = ports.clock.now();
    char text[16];
    std::snprintf(text, sizeof text, "%02d %02d %02d ", std::clamp(time.hour, 0, 23),
                  std::clamp(time.minute, 0, 59), std::clamp(time.second, 0, 59));
    return text;
}

double Runtime::rnd(double x) {
    if (x > 0) {
        // 53 random bits give a uniform double in [0, 1).
        lastrnd = static_cast<double>(generator_() >> 11) * 0x1p-53;
        return lastrnd;
    }
    if (x < 0)
        reseed();
    return lastrnd;
}

void Runtime::reseed() {
    if (fixedseed) {
        generator_.seed(*fixedseed);
        return;
    }
    const auto ticks = std::chrono::system_clock::now().time_since_epoch().count();
    const auto steady = std::chrono::steady_clock::now().time_since_epoch().count();
    std::seed_seq sequence{static_cast<uint32_t>(ticks), static_cast<uint32_t>(ticks >> 32),
                           static_cast<uint32_t>(steady)};
    generator_.seed(sequence);
}

void Runtime::seed(uint64_t value) {
    generator_.seed(value);
}

} // namespace hunt
