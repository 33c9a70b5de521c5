#pragma once
#include <stdexcept>
#include <string>

namespace hunt {

// The system's error: ends the current user action (and a run of the hosted program) and is
// shown in an error box by whichever entry point the toolkit called.
class HuntError : public std::runtime_error {
public:
    explicit HuntError(const std::string &message) : std::runtime_error(message) {}
};

} // namespace hunt
