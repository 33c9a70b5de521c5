#pragma once
#include "event_loop.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <vector>

namespace hunt {

// An event loop without a toolkit: posted tasks and timers, for the core's tests and tools.
// processEvents and waitForEvents must be called from one thread (the "UI thread").
class QueueEventLoop final : public EventLoop {
public:
    QueueEventLoop() = default;
    ~QueueEventLoop() override;
    QueueEventLoop(const QueueEventLoop &) = delete;
    QueueEventLoop &operator=(const QueueEventLoop &) = delete;

    void processEvents() override;
    void waitForEvents() override;
    void waitForEvents(std::chrono::milliseconds timeout) override;
    void post(std::function<void()> fn) override;
    std::unique_ptr<Timer> createTimer() override;

private:
    using clock = std::chrono::steady_clock;
    class LoopTimer;
    friend class LoopTimer;

    bool runDueTimers();
    clock::time_point nextDeadline() const;

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> tasks_;
    std::vector<LoopTimer *> timers_; // touched on the loop's thread only
};

} // namespace hunt
