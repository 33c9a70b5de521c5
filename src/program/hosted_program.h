#pragma once
#include "runtime/basic_functions.h"

#include <cstdint>
#include <string>

namespace hunt {

class Runtime;

// The variables of the treasure hunt, all cleared at the start of every run. Numbers are BASIC
// numbers (64-bit floating point); texts are Windows-1250.
struct HuntVariables {
    double hour = 0;
    std::string answer; // answer$: key text of the last answer
    double treasurerow = 0, treasurecol = 0;
    double pickrow = 0, pickcol = 0;
    double attempts = 0;   // squares tried in the current game
    double games = 0;      // games counted in this run; an abandoned one is not counted
    double best = 0;       // fewest attempts of a found game, 0 until the first is found
    double worst = 0;      // most attempts of a found game
    std::string direction; // direction$: the last hint
    double tone = 0;
    double i = 0, j = 0;

    // GOSUB pushes a return point here; RETURN pops it into returnline.
    Stack returnstack;
    int32_t returnline = 0;
};

// The hosted BASIC program: a spoken treasure hunt in Slovak. Runs one whole session, from the
// greeting to the closing tones, through the runtime's statements.
void hostedprogram(Runtime &runtime);
// The same, on variables the caller can watch while it runs (tests read the treasure square).
void hostedprogram(Runtime &runtime, HuntVariables &variables);

// Whether a value popped by RETURN is one of the program's return points.
bool isreturnpoint(int32_t line);

} // namespace hunt
