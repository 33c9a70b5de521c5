#pragma once
#include "audio/speech_system_voice.h"

#include <string>

namespace hunt {

// The system voice on speech-dispatcher (libspeechd). socketPath: the daemon's Unix socket,
// empty for the user's default address. autospawn: whether libspeechd may start the user's
// daemon when none answers. Connecting throws HuntError when the daemon cannot be reached.
std::unique_ptr<SystemVoice> makeSpeechdVoice(EventLoop &loop, const std::string &socketPath,
                                              bool autospawn);
SystemVoiceFactory speechdVoiceFactory(std::string socketPath = {}, bool autospawn = true);

// A key text with its markup removed: tags <...> dropped, the entities &lt; &gt; &amp; &quot;
// &apos; written as their characters. A "<" that no ">" closes stays as it is. Windows-1250.
std::string stripSapiXml(const std::string &text);

} // namespace hunt
