#include "qt_event_loop.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace hunt {
namespace {

class QtTimer final : public Timer {
public:
    QtTimer() {
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (ontimer)
                ontimer();
        });
    }
    void setInterval(int milliseconds) override { timer_.setInterval(milliseconds); }
    void setEnabled(bool enabled) override {
        if (enabled)
            timer_.start();
        else
            timer_.stop();
    }
    bool enabled() const override { return timer_.isActive(); }

private:
    QTimer timer_;
};

} // namespace

void QtEventLoop::processEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtEventLoop::waitForEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void QtEventLoop::waitForEvents(std::chrono::milliseconds timeout) {
    // A single-shot timer is an event of its own: it ends the wait when nothing else does.
    QTimer wake;
    wake.setSingleShot(true);
    wake.start(timeout);
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void QtEventLoop::post(std::function<void()> fn) {
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(fn), Qt::QueuedConnection);
}

std::unique_ptr<Timer> QtEventLoop::createTimer() {
    return std::make_unique<QtTimer>();
}

} // namespace hunt
