#include "audio/speech_layer.h"

#include "audio/speech_capitals.h"
#include "audio/speech_log.h"
#include "audio/voice_selection.h"
#include "braille/echo_keys.h"
#include "runtime/errors.h"

#include <cstdio>
#include <cstdlib>

namespace hunt {

namespace {
constexpr uint8_t windows1250 = 2; // the row of nationalletters for our texts
constexpr double capitalToneHz = 2000;
constexpr double capitalToneMs = 20;
constexpr double capitalToneTimbre = 1;
} // namespace

SpeechLayer::SpeechLayer(GlobalSettings &settings, EventLoop &loop, SoundOutput &sound,
                         const EchoKeys &echokeys, SystemVoiceFactory systemVoice)
    : SpeechLayer(
          settings, loop, sound,
          // The first slot, from slot 0, that holds the character's code.
          [&echokeys](unsigned char code) { return echoTextFor(echokeys, code); },
          std::move(systemVoice)) {}

SpeechLayer::SpeechLayer(GlobalSettings &settings, EventLoop &loop, SoundOutput &sound,
                         EchoKeyLookup echokeys, SystemVoiceFactory systemVoice)
    : settings_(settings), loop_(loop), sound_(sound), echokeys_(std::move(echokeys)),
      systemVoiceFactory_(std::move(systemVoice)) {
    if (const char *path = std::getenv("HUNT_SPEECH_LOG"); path && *path) {
        try {
            log_ = std::make_shared<SpeechLog>(path);
        } catch (const HuntError &error) {
            std::fprintf(stderr, "hunt: %s\n", error.what());
        }
    }
}

SpeechLayer::~SpeechLayer() = default;

TtsEngine *SpeechLayer::ttscentral() const {
    return selection_ ? selection_->ttscentral() : nullptr;
}

SystemVoice &SpeechLayer::voice5() {
    if (!voice5_) {
        if (!systemVoiceFactory_)
            throw HuntError("No system speech service is configured.");
        voice5_ = systemVoiceFactory_(loop_);
        if (!voice5_)
            throw HuntError("The system speech service cannot be reached.");
        voice5_->onStartStream = [this] { voice5StartStream(); };
        voice5_->onEndStream = [this] { voice5EndStream(); };
    }
    return *voice5_;
}

void SpeechLayer::logText(const char *operation, const char *mode, const std::string &text) {
    if (log_)
        log_->write(operation, mode, text);
}

void SpeechLayer::speak(const std::string &text) {
    if (settings_.sapi5) {
        // An empty text is handed over too, and says nothing.
        logText("speak", text.empty() ? "none" : "sapi5", text);
        voice5().Speak(text, SystemVoice::speakAsync);
        return;
    }
    TtsEngine *engine = ttscentral();
    if (settings_.voiceallowed && !text.empty() && engine) {
        logText("speak", "sapi4", text);
        engine->textData(text);
        return;
    }
    logText("speak", "none", text);
}

void SpeechLayer::speakwait(const std::string &text) {
    if (settings_.sapi5) {
        logText("speakwait", text.empty() ? "none" : "sapi5", text);
        if (text.empty())
            return;
        state.sapi5speaking = true;
        try {
            voice5().Speak(text, SystemVoice::speakAsync);
        } catch (...) {
            state.sapi5speaking = false; // nothing was queued: nothing will end
            throw;
        }
        waitWhile(loop_, [this] { return state.sapi5speaking; });
        return;
    }
    TtsEngine *engine = ttscentral();
    if (settings_.voiceallowed && !text.empty() && engine) {
        logText("speakwait", "sapi4", text);
        engine->textData(text);
        waitForEngine(engine);
        return;
    }
    logText("speakwait", "none", text);
}

void SpeechLayer::waitForEngine(const TtsEngine *engine) {
    // The engine posts AudioStart as it accepts a text, so the first pass sees the flag set.
    // A wait also ends when its engine is replaced or closed: its AudioStop can no longer come.
    const uint64_t serial = selection_ ? selection_->engineserial() : 0;
    waitWhile(loop_, [this, engine, serial] {
        return state.sapi4speaking && ttscentral() == engine &&
               (selection_ ? selection_->engineserial() : 0) == serial;
    });
}

void SpeechLayer::speakkey(const std::string &text) {
    if (!settings_.voiceready)
        return;
    if (text.empty() || (text.size() == 1 && text[0] == '\0'))
        return;
    const auto first = static_cast<unsigned char>(text[0]);
    if (text.size() == 1 && iscapital(first, windows1250))
        sound_.playsound({capitalToneHz}, capitalToneMs, capitalToneTimbre);
    const std::string keytext = echokeys_ ? echokeys_(first) : std::string();
    if (keytext.empty()) {
        logText("speakkey", "none", keytext);
        return;
    }
    if (settings_.sapi5) {
        logText("speakkey", "sapi5", keytext);
        voice5().Speak(keytext, SystemVoice::speakAsync | SystemVoice::speakIsXml);
        return;
    }
    TtsEngine *engine = ttscentral();
    if (!engine) {
        logText("speakkey", "none", keytext);
        return;
    }
    logText("speakkey", "sapi4", keytext);
    engine->textData(keytext);
    waitForEngine(engine);
}

void SpeechLayer::stopspeech() {
    if (settings_.sapi5) {
        logText("stopspeech", "sapi5", {});
        // Not yet connected: nothing of the system voice can be playing.
        if (voice5_)
            voice5_->Speak({}, SystemVoice::speakPurgeBeforeSpeak);
        return;
    }
    TtsEngine *engine = ttscentral();
    if (settings_.voiceready && state.sapi4speaking && engine) {
        logText("stopspeech", "sapi4", {});
        engine->audioReset();
    }
}

} // namespace hunt
