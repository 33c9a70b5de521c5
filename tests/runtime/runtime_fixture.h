#pragma once
// A runtime wired to an in-memory screen, a queue event loop and recording doubles that share
// one log.

#include "runtime/queue_event_loop.h"
#include "runtime/runtime.h"
#include "support/doubles.h"

namespace hunt::testing {

struct RuntimeFixture {
    EventLog log;
    PlainScreen screen;
    QueueEventLoop events;
    RecordingSpeech speech{log};
    RecordingSound sound{log};
    ScriptedInput input{log};
    FixedClock clock{log};
    GlobalSettings settings;
    ToneState tone;
    Runtime runtime{RuntimePorts{screen, events, speech, sound, input, clock, settings, tone}};

    void placeCursor(int column, int row) {
        runtime.scrcursor.setcolumn(static_cast<uint8_t>(column));
        runtime.scrcursor.setrow(static_cast<uint8_t>(row));
    }
    void write(const std::string &text, int mode) {
        runtime.printmode = static_cast<uint8_t>(mode);
        runtime.writescreen(text);
    }
    int column() const { return runtime.scrcursor.getcolumn(); }
    int row() const { return runtime.scrcursor.getrow(); }
};

} // namespace hunt::testing
