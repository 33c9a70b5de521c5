// Feeds arbitrary typed lines to the input statement, in any mode and under a point or a comma
// locale, and checks that it ends, gives a finite number, and leaves a trimmed buffer.
#include "runtime/queue_event_loop.h"
#include "runtime/runtime.h"

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

class Silent final : public hunt::SpeechOutput, public hunt::SoundOutput, public hunt::Clock {
public:
    void speak(const std::string &) override {}
    void speakwait(const std::string &) override {}
    void speakkey(const std::string &) override {}
    void stopspeech() override {}
    void playsound(const std::vector<double> &, double, double) override {}
    void beep() override {}
    void click(double) override {}
    hunt::TimeOfDay now() const override { return {}; }
    void sleep(std::chrono::milliseconds) override {}
};

// Answers with the lines of the input, each led by a byte that picks the dialog's result.
class FuzzedDialog final : public hunt::InputDialog {
public:
    FuzzedDialog(const uint8_t *data, std::size_t size) : data_(data), size_(size) {}
    int showInput(std::string &line) override {
        line.clear();
        if (at_ >= size_)
            return hunt::modalCancel;
        const int result = data_[at_++] % 5 == 0 ? hunt::modalCancel : hunt::modalOk;
        while (at_ < size_ && data_[at_] != '\n')
            line += static_cast<char>(data_[at_++]);
        ++at_;
        return result;
    }

private:
    const uint8_t *data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

bool blank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
    if (size < 2)
        return 0;
    std::setlocale(LC_NUMERIC, data[0] % 2 ? "cs_CZ.UTF-8" : "C");
    const uint8_t modes = data[1];

    hunt::PlainScreen screen;
    hunt::QueueEventLoop events;
    Silent silent;
    FuzzedDialog dialog(data + 2, size - 2);
    hunt::GlobalSettings settings;
    hunt::ToneState tone;
    hunt::Runtime runtime({screen, events, silent, silent, dialog, silent, settings, tone});

    // Once the lines run out every dialog is cancelled, so each call ends.
    for (int call = 0; call < 8; ++call) {
        double number = 1;
        runtime.inputnum(number, static_cast<uint8_t>((modes >> (call % 4 * 2)) & 3));
        if (!std::isfinite(number))
            std::abort();
        const std::string &rest = runtime.inputbuffer;
        // What is left is trimmed at its end (a line led by a comma keeps the blanks after it).
        if (!rest.empty() && blank(rest.back()))
            std::abort();
    }
    return 0;
}
