#pragma once

#include <QObject>
#include <UsageStats/MainThreadExecutor.h>

namespace Marrowbell {

/// UsageStats' main thread on the Qt event loop of the GUI thread: tasks and timers run there. Create on
/// the GUI thread; post from any thread. Tasks posted once the executor is gone are dropped.
class QtMainThreadExecutor final : public UsageStats::MainThreadExecutor {
public:
    QtMainThreadExecutor();
    ~QtMainThreadExecutor() override;

    void post(Task task) override;
    void postAfter(std::chrono::milliseconds delay, Task task) override;
    std::unique_ptr<UsageStats::RepeatingTimer> scheduleRepeating(std::chrono::milliseconds interval,
                                                                  Task task) override;

private:
    /// Lives on the GUI thread; every task and timer runs in its context.
    QObject* const context_;
};

} // namespace Marrowbell
