#pragma once

#include "ManualClock.h"
#include "UsageStats/MainThreadExecutor.h"

#include <atomic>
#include <cstdint>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <mutex>
#include <utility>

namespace UsageStatsTesting {

/// Runs tasks on the test's thread, only inside `runUntilIdle` and `advance`, in due-time order on the
/// manual clock, one after another as a real event loop does: a task that tries to run the queue itself
/// fails the test. Serves as the main thread, the worker and the upload queue, so a whole signal road runs
/// in one call.
class ManualExecutor final : public UsageStats::MainThreadExecutor,
                             public std::enable_shared_from_this<ManualExecutor> {
public:
    explicit ManualExecutor(std::shared_ptr<ManualClock> clock)
        : clock_(std::move(clock)) {}

    void post(Task task) override { postAfter(std::chrono::milliseconds{0}, std::move(task)); }

    void postAfter(std::chrono::milliseconds delay, Task task) override {
        std::lock_guard lock(mutex_);
        tasks_.emplace(std::make_pair(clock_->monotonicNow() + delay, nextSequence_++), std::move(task));
    }

    std::unique_ptr<UsageStats::RepeatingTimer> scheduleRepeating(std::chrono::milliseconds interval,
                                                                  Task task) override {
        auto cancelled = std::make_shared<std::atomic<bool>>(false);
        arm(interval, std::make_shared<Task>(std::move(task)), cancelled);
        return std::make_unique<Timer>(cancelled);
    }

    /// Runs every task that is due now, including those they post, up to a bound.
    void runUntilIdle() {
        if (isNestedRun()) {
            return;
        }
        for (int step = 0; step < 100'000 && runNextDue(clock_->monotonicNow()); ++step) {
        }
    }

    /// Moves the clock forward, running each task at its due time.
    void advance(std::chrono::milliseconds duration) {
        if (isNestedRun()) {
            return;
        }
        const auto target = clock_->monotonicNow() + duration;
        runUntilIdle();
        while (true) {
            std::unique_lock lock(mutex_);
            if (tasks_.empty() || tasks_.begin()->first.first > target) {
                break;
            }
            const auto due = tasks_.begin()->first.first;
            lock.unlock();
            clock_->advance(due - clock_->monotonicNow());
            runUntilIdle();
        }
        clock_->advance(target - clock_->monotonicNow());
        runUntilIdle();
    }

private:
    class Timer final : public UsageStats::RepeatingTimer {
    public:
        explicit Timer(std::shared_ptr<std::atomic<bool>> cancelled)
            : cancelled_(std::move(cancelled)) {}
        ~Timer() override { cancel(); }
        void cancel() override { *cancelled_ = true; }

    private:
        std::shared_ptr<std::atomic<bool>> cancelled_;
    };

    void arm(std::chrono::milliseconds interval, std::shared_ptr<Task> task,
             std::shared_ptr<std::atomic<bool>> cancelled) {
        std::weak_ptr<ManualExecutor> weakSelf = weak_from_this();
        postAfter(interval, [weakSelf, interval, task, cancelled] {
            auto self = weakSelf.lock();
            if (!self || *cancelled) {
                return;
            }
            (*task)();
            self->arm(interval, task, cancelled);
        });
    }

    bool isNestedRun() const {
        if (runningTask_) {
            ADD_FAILURE() << "A task ran the executor's queue from inside the queue";
        }
        return runningTask_;
    }

    bool runNextDue(UsageStats::MonotonicTime now) {
        Task task;
        {
            std::lock_guard lock(mutex_);
            if (tasks_.empty() || tasks_.begin()->first.first > now) {
                return false;
            }
            task = std::move(tasks_.begin()->second);
            tasks_.erase(tasks_.begin());
        }
        runningTask_ = true;
        task();
        runningTask_ = false;
        return true;
    }

    std::shared_ptr<ManualClock> clock_;
    std::mutex mutex_;
    std::map<std::pair<UsageStats::MonotonicTime, std::uint64_t>, Task> tasks_;
    std::uint64_t nextSequence_ = 0;
    std::atomic<bool> runningTask_ = false;
};

} // namespace UsageStatsTesting
