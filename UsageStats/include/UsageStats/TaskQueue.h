#pragma once

#include <functional>

namespace UsageStats {

/// Runs posted tasks one after another, in the order they were posted, on a thread of its own choosing.
/// The client uses one such serial worker for record building, batch bookkeeping and file writes, and
/// another for the HTTP requests of uploads.
/// `post` may be called from any thread and never runs the task inline.
class TaskQueue {
public:
    using Task = std::function<void()>;

    virtual ~TaskQueue() = default;
    virtual void post(Task task) = 0;
};

} // namespace UsageStats
