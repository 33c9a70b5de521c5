#pragma once
#include <string>

namespace hunt {

// The speech operations every part of the system uses. Texts are Windows-1250.
class SpeechOutput {
public:
    virtual ~SpeechOutput() = default;
    virtual void speak(const std::string &text) = 0;     // returns at once
    virtual void speakwait(const std::string &text) = 0; // returns when spoken
    virtual void speakkey(const std::string &text) = 0;  // echo of one typed character
    virtual void stopspeech() = 0;                       // drop what is spoken and queued
};

} // namespace hunt
