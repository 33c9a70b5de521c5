#include "doubles.h"

#include <cmath>
#include <sstream>

namespace hunt::testing {

std::string RecordingSound::number(double value) {
    std::ostringstream out;
    out << value;
    return out.str();
}

std::string formatTone(const std::vector<double> &frequencies, double duration, double timbre) {
    std::string text = "tone:";
    for (std::size_t i = 0; i < frequencies.size(); ++i) {
        if (i > 0)
            text += "+";
        text += RecordingSound::number(frequencies[i]);
    }
    return text + "/" + RecordingSound::number(duration) + "/" + RecordingSound::number(timbre);
}

} // namespace hunt::testing
