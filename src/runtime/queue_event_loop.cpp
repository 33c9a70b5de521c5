#include "queue_event_loop.h"

#include <algorithm>

namespace hunt {

class QueueEventLoop::LoopTimer final : public Timer {
public:
    explicit LoopTimer(QueueEventLoop &loop) : loop_(loop) { loop_.timers_.push_back(this); }
    ~LoopTimer() override { std::erase(loop_.timers_, this); }

    void setInterval(int milliseconds) override {
        interval_ = std::chrono::milliseconds(std::max(milliseconds, 0));
        if (enabled_)
            deadline_ = clock::now() + interval_;
    }
    void setEnabled(bool enabled) override {
        enabled_ = enabled;
        if (enabled)
            deadline_ = clock::now() + interval_;
    }
    bool enabled() const override { return enabled_; }

    QueueEventLoop &loop_;
    std::chrono::milliseconds interval_{0};
    bool enabled_ = false;
    clock::time_point deadline_{};
};

QueueEventLoop::~QueueEventLoop() = default;

std::unique_ptr<Timer> QueueEventLoop::createTimer() {
    return std::make_unique<LoopTimer>(*this);
}

void QueueEventLoop::post(std::function<void()> fn) {
    {
        std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(fn));
    }
    wake_.notify_all();
}

bool QueueEventLoop::runDueTimers() {
    bool ran = false;
    const auto now = clock::now();
    // A tick may create or destroy timers: work on a snapshot and check each is still alive.
    const std::vector<LoopTimer *> snapshot = timers_;
    for (LoopTimer *timer : snapshot) {
        if (std::find(timers_.begin(), timers_.end(), timer) == timers_.end())
            continue;
        if (!timer->enabled_ || timer->deadline_ > now)
            continue;
        timer->deadline_ = now + timer->interval_;
        ran = true;
        if (timer->ontimer)
            timer->ontimer();
    }
    return ran;
}

void QueueEventLoop::processEvents() {
    std::deque<std::function<void()>> batch;
    {
        std::lock_guard lock(mutex_);
        batch.swap(tasks_);
    }
    for (auto &task : batch)
        task();
    runDueTimers();
}

QueueEventLoop::clock::time_point QueueEventLoop::nextDeadline() const {
    auto next = clock::time_point::max();
    for (const LoopTimer *timer : timers_)
        if (timer->enabled_)
            next = std::min(next, timer->deadline_);
    return next;
}

void QueueEventLoop::waitForEvents() {
    waitForEvents(std::chrono::milliseconds::max());
}

void QueueEventLoop::waitForEvents(std::chrono::milliseconds timeout) {
    auto deadline = nextDeadline();
    if (timeout != std::chrono::milliseconds::max())
        deadline = std::min(deadline, clock::now() + timeout);
    {
        std::unique_lock lock(mutex_);
        if (deadline == clock::time_point::max())
            wake_.wait(lock, [this] { return !tasks_.empty(); });
        else
            wake_.wait_until(lock, deadline, [this] { return !tasks_.empty(); });
    }
    processEvents();
}

} // namespace hunt
