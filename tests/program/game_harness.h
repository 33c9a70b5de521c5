#pragma once
// Plays the hosted program with scripted keys and input lines, a fixed clock and a fixed seed,
// and keeps everything it showed, said and played for the checks.

#include "program/hosted_program.h"
#include "runtime/runtime.h"
#include "support/doubles.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace hunt::testing {

// A run that needs more key passes or dialogs than its cap: a hang fails instead of blocking.
class RunawayRun : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An event loop whose every pass delivers the next scripted key into the runtime's pendingkey,
// as the main window's key handlers would. Logs "press:<key>" for each key delivered.
class ScriptedKeys final : public EventLoop {
public:
    explicit ScriptedKeys(EventLog &log) : log_(log) {}
    void attach(Runtime &runtime) { runtime_ = &runtime; }

    void processEvents() override { pass(); }
    void waitForEvents() override { pass(); }
    void waitForEvents(std::chrono::milliseconds) override { pass(); }
    void post(std::function<void()> fn) override { posted_.push_back(std::move(fn)); }
    std::unique_ptr<Timer> createTimer() override;

    std::deque<std::string> keys;      // the script; "" is a pass without a key
    std::function<std::string()> more; // asked for the next key once the script is used up
    int passes = 0;
    int maxPasses = 20000;

private:
    void pass();

    EventLog &log_;
    Runtime *runtime_ = nullptr;
    std::deque<std::function<void()>> posted_;
};

// One line typed into the input dialog, computed when the dialog opens.
using Move = std::function<ScriptedInput::Answer(const HuntVariables &)>;

class GameHarness {
public:
    explicit GameHarness(uint64_t seed = 1, TimeOfDay time = {10, 0, 0});

    // Runs the whole program; afterwards the return stack must be empty (checked by callers).
    void play();

    // Script helpers: the answer keys, and lines aimed at the treasure square.
    GameHarness &press(std::initializer_list<std::string> keys);
    GameHarness &type(const std::string &line); // a fixed line, OK
    GameHarness &cancel();                      // the dialog closed without OK
    GameHarness &treasureRow();                 // the treasure's row
    GameHarness &treasureColumn();              // the treasure's column
    GameHarness &hit();                         // row and column of the treasure
    GameHarness &miss();                        // a single-digit square in another row

    // What happened, in UTF-8: spoken texts (blank ones left out), the whole log, the screen
    // lines without trailing blanks.
    std::vector<std::string> said() const;
    std::vector<std::string> events() const;
    std::vector<std::string> screenLines() const;
    // Log entries that start with prefix, in order.
    std::vector<std::string> entries(const std::string &prefix) const;

    EventLog log;
    hunt::PlainScreen screen;
    ScriptedKeys keys{log};
    RecordingSpeech speech{log};
    RecordingSound sound{log};
    ScriptedInput input{log};
    FixedClock clock;
    GlobalSettings settings;
    ToneState tone;
    Runtime runtime;
    HuntVariables vars;

    std::deque<Move> moves;                      // answers to the next dialogs
    std::function<ScriptedInput::Answer()> more; // asked once moves are used up
    int dialogs = 0;
    int maxDialogs = 5000;
};

} // namespace hunt::testing
