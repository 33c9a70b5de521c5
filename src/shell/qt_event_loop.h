#pragma once
#include "runtime/event_loop.h"

namespace hunt {

// The event loop of the Qt application: the system's waits block in Qt's dispatcher and wake
// for window events, timers and tasks posted from other threads.
class QtEventLoop final : public EventLoop {
public:
    void processEvents() override;
    void waitForEvents() override;
    void waitForEvents(std::chrono::milliseconds timeout) override;
    void post(std::function<void()> fn) override;
    std::unique_ptr<Timer> createTimer() override;
};

} // namespace hunt
