#include "runtime/queue_event_loop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace hunt {
namespace {

TEST(QueueEventLoopTest, TaskPostedFromAnotherThreadWakesTheWait) {
    QueueEventLoop loop;
    bool done = false; // touched on this thread only, by the posted task
    std::thread other([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        loop.post([&] { done = true; });
    });
    waitWhile(loop, [&] { return !done; });
    other.join();
    EXPECT_TRUE(done);
}

TEST(QueueEventLoopTest, TasksRunInOrderOnProcessEvents) {
    QueueEventLoop loop;
    std::vector<int> order;
    loop.post([&] {
        order.push_back(1);
        loop.post([&] { order.push_back(3); }); // queued for the next pass
    });
    loop.post([&] { order.push_back(2); });
    loop.processEvents();
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    loop.processEvents();
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
    loop.processEvents(); // nothing queued: returns at once
    EXPECT_EQ(order.size(), 3u);
}

TEST(QueueEventLoopTest, TimerTicksUntilDisabled) {
    QueueEventLoop loop;
    auto timer = loop.createTimer();
    int ticks = 0;
    timer->ontimer = [&] {
        if (++ticks == 3)
            timer->setEnabled(false);
    };
    timer->setInterval(5);
    timer->setEnabled(true);
    EXPECT_TRUE(timer->enabled());
    waitWhile(loop, [&] { return timer->enabled(); });
    EXPECT_EQ(ticks, 3);
    EXPECT_FALSE(timer->enabled());
}

TEST(QueueEventLoopTest, TimerDestroyedInItsOwnTickIsSafe) {
    QueueEventLoop loop;
    auto timer = loop.createTimer();
    bool ticked = false;
    timer->ontimer = [&] {
        ticked = true;
        timer.reset();
    };
    timer->setInterval(1);
    timer->setEnabled(true);
    waitWhile(loop, [&] { return !ticked; });
    EXPECT_EQ(timer, nullptr);
}

TEST(QueueEventLoopTest, WaitWhileMakesAtLeastOnePass) {
    QueueEventLoop loop;
    bool ran = false;
    loop.post([&] { ran = true; });
    waitWhile(loop, [] { return false; });
    EXPECT_TRUE(ran);
}

} // namespace
} // namespace hunt
