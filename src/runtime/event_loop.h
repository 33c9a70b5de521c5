#pragma once
#include <chrono>
#include <functional>
#include <memory>

namespace hunt {

// A timer of the UI thread: once enabled it calls ontimer every interval milliseconds,
// from the event loop, until disabled.
class Timer {
public:
    virtual ~Timer() = default;
    virtual void setInterval(int milliseconds) = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual bool enabled() const = 0;

    std::function<void()> ontimer;
};

// The UI thread's message queue. Every wait of the system is a loop over it.
class EventLoop {
public:
    virtual ~EventLoop() = default;
    // Handles every event already queued and returns at once.
    virtual void processEvents() = 0;
    // Blocks until an event arrives (a posted task, a timer, input), then handles what is queued.
    virtual void waitForEvents() = 0;
    // As waitForEvents, but returns after the timeout when nothing arrives.
    virtual void waitForEvents(std::chrono::milliseconds timeout) = 0;
    // Thread-safe: queues fn to run on the UI thread and wakes a waiting loop.
    virtual void post(std::function<void()> fn) = 0;
    virtual std::unique_ptr<Timer> createTimer() = 0;
};

// The system's wait: at least one pass over the queue, then block for events while the
// condition holds. Whatever clears the condition must arrive through the queue (or post()).
template <class Condition> void waitWhile(EventLoop &loop, Condition stillWaiting) {
    loop.processEvents();
    while (stillWaiting())
        loop.waitForEvents();
}

} // namespace hunt
