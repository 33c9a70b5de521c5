#include "game_harness.h"

#include "localization/codepage.h"

namespace hunt::testing {
namespace {

class IdleTimer final : public Timer {
public:
    void setInterval(int) override {}
    void setEnabled(bool enabled) override { enabled_ = enabled; }
    bool enabled() const override { return enabled_; }

private:
    bool enabled_ = false;
};

std::string withoutTrailingBlanks(std::string text) {
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

} // namespace

std::unique_ptr<Timer> ScriptedKeys::createTimer() {
    return std::make_unique<IdleTimer>();
}

void ScriptedKeys::pass() {
    if (++passes > maxPasses)
        throw RunawayRun("more than " + std::to_string(maxPasses) + " passes over the events");
    std::deque<std::function<void()>> tasks;
    tasks.swap(posted_);
    for (auto &task : tasks)
        task();
    std::string key;
    if (!keys.empty()) {
        key = keys.front();
        keys.pop_front();
    } else if (more) {
        key = more();
    }
    if (!key.empty() && runtime_) {
        log_.push_back("press:" + key);
        runtime_->pendingkey = key;
    }
}

GameHarness::GameHarness(uint64_t seed, TimeOfDay time)
    : clock(log, time),
      runtime(RuntimePorts{screen, keys, speech, sound, input, clock, settings, tone}) {
    keys.attach(runtime);
    runtime.fixedseed = seed;
    runtime.seed(seed);
    input.onShow = [this] {
        if (++dialogs > maxDialogs)
            throw RunawayRun("more than " + std::to_string(maxDialogs) + " input dialogs");
        if (!moves.empty()) {
            input.answers.push_back(moves.front()(vars));
            moves.pop_front();
        } else if (more) {
            input.answers.push_back(more());
        }
    };
}

void GameHarness::play() {
    hostedprogram(runtime, vars);
}

GameHarness &GameHarness::press(std::initializer_list<std::string> list) {
    for (const auto &key : list)
        keys.keys.push_back(key);
    return *this;
}

GameHarness &GameHarness::type(const std::string &line) {
    moves.push_back([line](const HuntVariables &) { return ScriptedInput::Answer{line}; });
    return *this;
}

GameHarness &GameHarness::cancel() {
    moves.push_back([](const HuntVariables &) { return ScriptedInput::Answer{"", modalCancel}; });
    return *this;
}

namespace {
std::string number(double value) {
    return std::to_string(static_cast<int>(value));
}
} // namespace

GameHarness &GameHarness::treasureRow() {
    moves.push_back(
        [](const HuntVariables &v) { return ScriptedInput::Answer{number(v.treasurerow)}; });
    return *this;
}

GameHarness &GameHarness::treasureColumn() {
    moves.push_back(
        [](const HuntVariables &v) { return ScriptedInput::Answer{number(v.treasurecol)}; });
    return *this;
}

GameHarness &GameHarness::hit() {
    return treasureRow().treasureColumn();
}

GameHarness &GameHarness::miss() {
    moves.push_back([](const HuntVariables &v) {
        return ScriptedInput::Answer{v.treasurerow == 1 ? "2" : "1"};
    });
    moves.push_back([](const HuntVariables &v) {
        return ScriptedInput::Answer{v.treasurecol == 10 ? "9" : number(v.treasurecol)};
    });
    return *this;
}

std::vector<std::string> GameHarness::said() const {
    std::vector<std::string> texts;
    for (const auto &entry : log) {
        if (entry.rfind("say:", 0) != 0)
            continue;
        const std::string text = entry.substr(4);
        if (text.find_first_not_of(' ') == std::string::npos)
            continue;
        texts.push_back(toUtf8(text));
    }
    return texts;
}

std::vector<std::string> GameHarness::events() const {
    std::vector<std::string> all;
    for (const auto &entry : log)
        all.push_back(toUtf8(entry));
    return all;
}

std::vector<std::string> GameHarness::screenLines() const {
    std::vector<std::string> lines;
    for (int row = 0; row < screen.count(); ++row)
        lines.push_back(withoutTrailingBlanks(toUtf8(screen.line(row))));
    return lines;
}

std::vector<std::string> GameHarness::entries(const std::string &prefix) const {
    std::vector<std::string> found;
    for (const auto &entry : log)
        if (entry.rfind(prefix, 0) == 0)
            found.push_back(toUtf8(entry));
    return found;
}

} // namespace hunt::testing
