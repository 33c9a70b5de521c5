#pragma once
#include <functional>
#include <memory>
#include <string>

namespace hunt {

class EventLoop;

// The system speech service: one voice at the service's own settings. Speak queues a text and
// returns at once; every spoken text gives one StartStream and one EndStream (also when it is
// purged), delivered on the UI thread through the event loop.
class SystemVoice {
public:
    enum SpeakFlags { speakAsync = 1, speakPurgeBeforeSpeak = 2, speakIsXml = 8 };

    virtual ~SystemVoice() = default;
    // text is Windows-1250. With speakPurgeBeforeSpeak what is queued is dropped and the
    // current text ended first; with speakIsXml markup tags are removed before speaking.
    // Throws HuntError when the service fails.
    virtual void Speak(const std::string &text, int flags) = 0;

    std::function<void()> onStartStream; // set by the owner, called on the UI thread
    std::function<void()> onEndStream;
};

// Connects to the system speech service; throws HuntError when it cannot be reached.
using SystemVoiceFactory = std::function<std::unique_ptr<SystemVoice>(EventLoop &loop)>;

} // namespace hunt
