#pragma once
#include "audio/speech_system_voice.h"

#include <chrono>
#include <string>

namespace hunt {

// The system voice on speech-dispatcher (libspeechd). socketPath: the daemon's Unix socket,
// empty for the user's default address. autospawn: whether libspeechd may start the user's
// daemon when none answers. Connecting throws HuntError when the daemon cannot be reached.
//
// A daemon whose audio output is broken reports the start of a text and never its end. So that
// no wait hangs on it, a text whose end has not come endTimeout plus a quarter of a second per
// character after it was queued (two seconds after a purge) counts as ended.
std::unique_ptr<SystemVoice>
makeSpeechdVoice(EventLoop &loop, const std::string &socketPath, bool autospawn,
                 std::chrono::milliseconds endTimeout = std::chrono::seconds(10));
SystemVoiceFactory speechdVoiceFactory(std::string socketPath = {}, bool autospawn = true);

// A key text with its markup removed: tags <...> dropped, the entities &lt; &gt; &amp; &quot;
// &apos; written as their characters. A "<" that no ">" closes stays as it is. Windows-1250.
std::string stripSapiXml(const std::string &text);

} // namespace hunt
