#pragma once

#include "Platform/BackgroundTask.h"

#include <Foundation/CancellationError.h>
#include <QThreadPool>
#include <chrono>
#include <stop_token>

namespace Marrowbell {

/// The worker threads of long operations (syncs, requests). Each call runs on a worker of its own; the
/// work receives a stop token that is stopped when the caller's token asks to stop or when the application
/// shuts down, and throws Foundation::CancellationError at its checkpoints. Results and failures come back
/// through the returned future (see whenFinished for the GUI thread). Start work from any thread.
class BackgroundWork {
public:
    BackgroundWork();
    ~BackgroundWork();
    BackgroundWork(const BackgroundWork&) = delete;
    BackgroundWork& operator=(const BackgroundWork&) = delete;

    template <typename Work> auto run(Work work, std::stop_token callerToken = {}) {
        return startOnPool(
            workers_, [work = std::move(work), callerToken, shutdownToken = shutdown_.get_token()]() mutable {
                std::stop_source stop;
                std::stop_callback forwardCaller(callerToken, [&stop] { stop.request_stop(); });
                std::stop_callback forwardShutdown(shutdownToken, [&stop] { stop.request_stop(); });
                Foundation::checkCancellation(stop.get_token());
                return work(stop.get_token());
            });
    }

    /// Stops every running task, drops the queued ones and waits up to `timeout` for the running ones;
    /// true when none is left. Later calls of `run` are cancelled at once.
    bool shutdown(std::chrono::milliseconds timeout);

private:
    std::stop_source shutdown_;
    QThreadPool workers_;
};

} // namespace Marrowbell
