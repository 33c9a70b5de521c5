#pragma once
// Recording stand-ins for the ports of other subsystems, so that one subsystem can be tested
// with everything it said, played and slept checked in order. All of them append to one shared
// log when given one, so the order across speech, sound and pauses shows.

#include "runtime/clock.h"
#include "runtime/input_dialog.h"
#include "runtime/sound_output.h"
#include "runtime/speech_output.h"

#include <chrono>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace hunt::testing {

// One line per thing that happened: "say:<text>", "key:<text>", "stop", "tone:<f>[+<f>]/<ms>/<t>",
// "beep", "click:<n>", "sleep:<ms>", "input". Texts stay Windows-1250.
using EventLog = std::vector<std::string>;

std::string formatTone(const std::vector<double> &frequencies, double duration, double timbre);

class RecordingSpeech final : public SpeechOutput {
public:
    explicit RecordingSpeech(EventLog &log) : log_(log) {}
    void speak(const std::string &text) override { log_.push_back("speak:" + text); }
    void speakwait(const std::string &text) override {
        if (!text.empty())
            log_.push_back("say:" + text);
    }
    void speakkey(const std::string &text) override { log_.push_back("key:" + text); }
    void stopspeech() override { log_.push_back("stop"); }

private:
    EventLog &log_;
};

class RecordingSound final : public SoundOutput {
public:
    explicit RecordingSound(EventLog &log) : log_(log) {}
    void playsound(const std::vector<double> &frequencies, double duration,
                   double timbre) override {
        log_.push_back(formatTone(frequencies, duration, timbre));
    }
    void beep() override { log_.push_back("beep"); }
    void click(double n) override { log_.push_back("click:" + number(n)); }

    static std::string number(double value);

private:
    EventLog &log_;
};

// A clock standing still at a fixed time of day; sleeps are logged, not slept.
class FixedClock final : public Clock {
public:
    explicit FixedClock(EventLog &log, TimeOfDay start = {}) : time(start), log_(log) {}
    TimeOfDay now() const override { return time; }
    void sleep(std::chrono::milliseconds duration) override {
        log_.push_back("sleep:" + std::to_string(duration.count()));
    }
    TimeOfDay time;

private:
    EventLog &log_;
};

// Answers each dialog with the next scripted line (modalOk), or with a scripted result.
// With the script exhausted it answers Cancel, so a runaway program cannot hang a test.
class ScriptedInput final : public InputDialog {
public:
    struct Answer {
        std::string line;
        int result = modalOk;
    };
    explicit ScriptedInput(EventLog &log) : log_(log) {}
    int showInput(std::string &line) override {
        log_.push_back("input");
        if (onShow)
            onShow();
        if (answers.empty()) {
            line.clear();
            return modalCancel;
        }
        Answer answer = answers.front();
        answers.pop_front();
        line = answer.line;
        return answer.result;
    }
    std::deque<Answer> answers;
    std::function<void()> onShow;

private:
    EventLog &log_;
};

} // namespace hunt::testing
