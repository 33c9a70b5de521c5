#pragma once
#include "audio/speech_system_voice.h"
#include "audio/tts_engine.h"
#include "runtime/event_loop.h"
#include "runtime/globals.h"
#include "runtime/sound_output.h"
#include "runtime/speech_output.h"

#include <functional>
#include <memory>
#include <string>

namespace hunt {

class SpeechLog;
class VoiceSelection;
struct EchoKeys;

// Whether an engine is still talking.
struct SpeechState {
    bool sapi4speaking = false; // the embedded engine's audio is playing
    bool sapi5speaking = false; // a stream of the system voice is in progress
};

// The embedded engine's notify sink: AudioStart and AudioStop set and clear sapi4speaking.
class TTTSNotifySink final : public TtsNotifySink {
public:
    explicit TTTSNotifySink(SpeechState &state) : state_(state) {}
    void AttribChanged(uint32_t) override {}
    void AudioStart(uint64_t) override { state_.sapi4speaking = true; }
    void AudioStop(uint64_t) override { state_.sapi4speaking = false; }

private:
    SpeechState &state_;
};

// Everything the system says goes through here. Three modes: the system voice (sapi5), the
// embedded engine (voiceallowed, or voiceready for key echoes) and no voice.
//
// Wiring in the application (the layer first, so that it outlives the voice selection):
//   SpeechLayer speech(settings, loop, soundEffects, echokeys, speechdVoiceFactory());
//   VoiceSelection voices(settings, speech, speech.notifysink,
//                         [&] { return makeEspeakVoiceSource(loop, mixer); });
//   speech.setVoiceSelection(&voices);
//   voices.initsapi4(); // at start-up, before the settings are read
// Setting HUNT_SPEECH_LOG to a file name records every text asked for (see SpeechLog).
class SpeechLayer final : public SpeechOutput {
public:
    // echokeys: the key-echo table speakkey reads (filled later is fine). systemVoice connects
    // the system speech service the first time that mode is used (speechdVoiceFactory()).
    // The voice selection, whose engine calls notifysink, must go before the layer.
    SpeechLayer(GlobalSettings &settings, EventLoop &loop, SoundOutput &sound,
                const EchoKeys &echokeys, SystemVoiceFactory systemVoice);
    // The same with the key-echo lookup given as a function: the text for a character code.
    using EchoKeyLookup = std::function<std::string(unsigned char code)>;
    SpeechLayer(GlobalSettings &settings, EventLoop &loop, SoundOutput &sound,
                EchoKeyLookup echokeys, SystemVoiceFactory systemVoice);
    ~SpeechLayer() override;
    SpeechLayer(const SpeechLayer &) = delete;
    SpeechLayer &operator=(const SpeechLayer &) = delete;

    // The voice selection whose open engine speaks in the embedded mode (none: silent).
    void setVoiceSelection(const VoiceSelection *selection) { selection_ = selection; }
    // Every text asked for is also written here (null: only HUNT_SPEECH_LOG, if set).
    void setSpeechLog(std::shared_ptr<SpeechLog> log) { log_ = std::move(log); }

    void speak(const std::string &text) override;
    void speakwait(const std::string &text) override;
    void speakkey(const std::string &text) override;
    void stopspeech() override;

    // The system voice's stream events.
    void voice5StartStream() { state.sapi5speaking = true; }
    void voice5EndStream() { state.sapi5speaking = false; }

    SpeechState state;
    TTTSNotifySink notifysink{state};

private:
    TtsEngine *ttscentral() const;
    void waitForEngine(const TtsEngine *engine);
    SystemVoice &voice5(); // connects on first use; throws HuntError
    void logText(const char *operation, const char *mode, const std::string &text);

    GlobalSettings &settings_;
    EventLoop &loop_;
    SoundOutput &sound_;
    EchoKeyLookup echokeys_;
    SystemVoiceFactory systemVoiceFactory_;
    std::unique_ptr<SystemVoice> voice5_;
    const VoiceSelection *selection_ = nullptr;
    std::shared_ptr<SpeechLog> log_;
};

} // namespace hunt
