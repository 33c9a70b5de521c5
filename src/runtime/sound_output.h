#pragma once
#include <vector>

namespace hunt {

// Tones, beep and clicks. All return at once and stay silent while sound effects are off.
class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    // Plays the frequencies (hertz) together for the duration (milliseconds) with a timbre
    // (0 to 9; above 9 the previous one; a negative duration the previous one); returns when
    // the tone has ended.
    virtual void playsound(const std::vector<double> &frequencies, double duration,
                           double timbre) = 0;
    virtual void beep() = 0;
    virtual void click(double n) = 0;
};

} // namespace hunt
