#include "qt_event_loop.h"

#include "shell/error_box.h"

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
                guarded(ontimer);
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
    // A task is an entry point of its own: its errors are shown, never thrown into Qt.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [task = std::move(fn)] { guarded(task); },
        Qt::QueuedConnection);
}

std::unique_ptr<Timer> QtEventLoop::createTimer() {
    return std::make_unique<QtTimer>();
}

} // namespace hunt
