#include "Platform/QtMainThreadExecutor.h"

#include <QPointer>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <memory>

namespace Marrowbell {
namespace {

struct TimerState {
    std::atomic<bool> cancelled = false;
    /// Touched on the GUI thread only.
    QPointer<QTimer> timer;
};

/// Stops its GUI-thread timer from any thread: the flag ends the ticks at once, the timer itself is
/// deleted on the GUI thread.
class QtRepeatingTimer final : public UsageStats::RepeatingTimer {
public:
    QtRepeatingTimer(QObject* context, std::shared_ptr<TimerState> state)
        : context_(context)
        , state_(std::move(state)) {}
    ~QtRepeatingTimer() override { cancel(); }

    void cancel() override {
        // Without its context the timer, one of the context's children, is gone already.
        if (state_->cancelled.exchange(true) || !context_) {
            return;
        }
        if (QThread::currentThread() == context_->thread()) {
            delete state_->timer;
            return;
        }
        QMetaObject::invokeMethod(
            context_,
            [state = state_] {
                if (state->timer) {
                    state->timer->deleteLater();
                }
            },
            Qt::QueuedConnection);
    }

private:
    QPointer<QObject> context_;
    std::shared_ptr<TimerState> state_;
};

} // namespace

QtMainThreadExecutor::QtMainThreadExecutor()
    : context_(new QObject) {}

QtMainThreadExecutor::~QtMainThreadExecutor() {
    // Its timers are its children and go with it. At quit the event loop has ended, so a deferred deletion
    // would never happen: on its own thread the context goes at once.
    if (QThread::currentThread() == context_->thread()) {
        delete context_;
    } else {
        context_->deleteLater();
    }
}

void QtMainThreadExecutor::post(Task task) {
    QMetaObject::invokeMethod(context_, std::move(task), Qt::QueuedConnection);
}

void QtMainThreadExecutor::postAfter(std::chrono::milliseconds delay, Task task) {
    QMetaObject::invokeMethod(
        context_,
        [context = context_, delay, task = std::move(task)] { QTimer::singleShot(delay, context, task); },
        Qt::QueuedConnection);
}

std::unique_ptr<UsageStats::RepeatingTimer>
QtMainThreadExecutor::scheduleRepeating(std::chrono::milliseconds interval, Task task) {
    auto state = std::make_shared<TimerState>();
    QMetaObject::invokeMethod(
        context_,
        [context = context_, state, interval, task = std::move(task)] {
            if (state->cancelled) {
                return;
            }
            auto* timer = new QTimer(context);
            timer->setInterval(interval);
            QObject::connect(timer, &QTimer::timeout, context, [state, task] {
                if (!state->cancelled) {
                    task();
                }
            });
            state->timer = timer;
            timer->start();
        },
        Qt::QueuedConnection);
    return std::make_unique<QtRepeatingTimer>(context_, std::move(state));
}

} // namespace Marrowbell
