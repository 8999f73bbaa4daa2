#pragma once

#include "UsageStats/MainThreadExecutor.h"

#include <memory>
#include <thread>

namespace UsageStats {

/// A thread of its own that runs posted and timed tasks in order of their due time (ties in posting order).
/// Serves as the default main-thread stand-in, serial worker and upload thread. The destructor lets the
/// running task finish, drops the waiting ones and joins the thread (or, when the last owner lets go from
/// one of the loop's own tasks, lets the thread end by itself after that task).
class EventLoopThread final : public MainThreadExecutor {
public:
    EventLoopThread();
    ~EventLoopThread() override;
    EventLoopThread(const EventLoopThread&) = delete;
    EventLoopThread& operator=(const EventLoopThread&) = delete;

    void post(Task task) override;
    void postAfter(std::chrono::milliseconds delay, Task task) override;
    std::unique_ptr<RepeatingTimer> scheduleRepeating(std::chrono::milliseconds interval, Task task) override;

private:
    struct State;

    std::shared_ptr<State> state_;
    std::thread thread_;
};

} // namespace UsageStats
