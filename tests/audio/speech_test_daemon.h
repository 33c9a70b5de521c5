#pragma once
// A private, headless speech-dispatcher for tests: a copy of the system configuration that
// plays through libao's null driver, its own socket and home, started and stopped by the test.
// Never the user's daemon, never autospawned.
#include <string>
#include <sys/types.h>

namespace hunt::testing {

class PrivateSpeechd {
public:
    // Starts the daemon and waits (up to 20 s) for its socket. brokenAudio keeps the stock
    // audio output, which fails without a sound server: texts start and never end.
    explicit PrivateSpeechd(bool brokenAudio = false);
    ~PrivateSpeechd(); // stops it and removes its directory
    PrivateSpeechd(const PrivateSpeechd &) = delete;
    PrivateSpeechd &operator=(const PrivateSpeechd &) = delete;

    bool running() const { return pid_ > 0; }
    const std::string &socket() const { return socket_; }
    const std::string &error() const { return error_; } // why it did not start

private:
    std::string dir_, socket_, error_;
    pid_t pid_ = -1;
};

} // namespace hunt::testing
