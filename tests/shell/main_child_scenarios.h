#pragma once
// Scenarios that end the process, run in a child process of the test (the test binary started
// again with HUNT_SHELL_SCENARIO=<name> and HUNT_SHELL_DIR=<its directory>).
#include <string>

namespace hunt::testing {

int runChildScenario(const std::string &name);

// Starts this test binary as a child running one scenario in dir; returns its exit code
// (-1 when it crashed or did not end within a generous time).
int runInChild(const std::string &scenario, const std::string &dir);

// The byte a scenario leaves in the memory image before the process ends.
inline constexpr std::size_t markAddress = 1234;
inline constexpr unsigned char markValue = 0x5a;

} // namespace hunt::testing
