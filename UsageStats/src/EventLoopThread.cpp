#include "UsageStats/EventLoopThread.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <queue>
#include <vector>

namespace UsageStats {

// Shared with the thread, so a detached loop never touches a destroyed object.
struct EventLoopThread::State {
    struct TimedTask {
        std::chrono::steady_clock::time_point due;
        std::uint64_t sequence;
        Task task;
        bool operator>(const TimedTask& other) const {
            return due != other.due ? due > other.due : sequence > other.sequence;
        }
    };

    std::mutex mutex;
    std::condition_variable wakeUp;
    std::priority_queue<TimedTask, std::vector<TimedTask>, std::greater<>> tasks;
    std::uint64_t nextSequence = 0;
    bool stopping = false;

    void postAfter(std::chrono::milliseconds delay, Task task) {
        {
            std::lock_guard lock(mutex);
            tasks.push(TimedTask{std::chrono::steady_clock::now() + delay, nextSequence++, std::move(task)});
        }
        wakeUp.notify_one();
    }

    static void scheduleTick(const std::weak_ptr<State>& weakState, std::chrono::milliseconds interval,
                             std::shared_ptr<Task> task, std::shared_ptr<std::atomic<bool>> cancelled) {
        auto state = weakState.lock();
        if (!state) {
            return;
        }
        state->postAfter(interval, [weakState, interval, task, cancelled] {
            if (*cancelled) {
                return;
            }
            (*task)();
            scheduleTick(weakState, interval, task, cancelled);
        });
    }

    void stop() {
        std::priority_queue<TimedTask, std::vector<TimedTask>, std::greater<>> dropped;
        {
            std::lock_guard lock(mutex);
            stopping = true;
            std::swap(dropped, tasks);
        }
        wakeUp.notify_all();
    }

    void run() {
        std::unique_lock lock(mutex);
        while (!stopping) {
            if (tasks.empty()) {
                wakeUp.wait(lock);
                continue;
            }
            // A copy: the queue may reallocate while the lock is released during the wait.
            const auto due = tasks.top().due;
            if (due > std::chrono::steady_clock::now()) {
                wakeUp.wait_until(lock, due);
                continue;
            }
            auto task = std::move(const_cast<TimedTask&>(tasks.top()).task);
            tasks.pop();
            lock.unlock();
            task();
            task = nullptr; // release what the task holds before waiting again
            lock.lock();
        }
    }
};

namespace {

class EventLoopTimer final : public RepeatingTimer {
public:
    explicit EventLoopTimer(std::shared_ptr<std::atomic<bool>> cancelled)
        : cancelled_(std::move(cancelled)) {}
    ~EventLoopTimer() override { cancel(); }
    void cancel() override { *cancelled_ = true; }

private:
    std::shared_ptr<std::atomic<bool>> cancelled_;
};

} // namespace

EventLoopThread::EventLoopThread()
    : state_(std::make_shared<State>())
    , thread_([state = state_] { state->run(); }) {}

EventLoopThread::~EventLoopThread() {
    state_->stop();
    if (thread_.get_id() == std::this_thread::get_id()) {
        thread_.detach();
    } else {
        thread_.join();
    }
}

void EventLoopThread::post(Task task) {
    state_->postAfter(std::chrono::milliseconds{0}, std::move(task));
}

void EventLoopThread::postAfter(std::chrono::milliseconds delay, Task task) {
    state_->postAfter(delay, std::move(task));
}

std::unique_ptr<RepeatingTimer> EventLoopThread::scheduleRepeating(std::chrono::milliseconds interval,
                                                                   Task task) {
    auto cancelled = std::make_shared<std::atomic<bool>>(false);
    State::scheduleTick(state_, interval, std::make_shared<Task>(std::move(task)), cancelled);
    return std::make_unique<EventLoopTimer>(cancelled);
}

} // namespace UsageStats
