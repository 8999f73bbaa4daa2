#pragma once

#include <QFuture>
#include <QPromise>
#include <QThreadPool>
#include <exception>
#include <memory>
#include <type_traits>
#include <utility>

namespace Marrowbell {

/// Runs `work()` on `pool` and gives its result, or the exception it threw (its own type is kept, so
/// `future.result()` rethrows an SQLError as an SQLError), through the returned future. Work that the pool
/// drops before it runs leaves the future cancelled. Higher `priority` runs first among queued work.
///
/// Unlike QtConcurrent's futures, waiting on this one never runs the work on the waiting thread, so a
/// single-thread pool stays strictly serial.
template <typename Work, typename Result = std::invoke_result_t<Work&>>
QFuture<Result> startOnPool(QThreadPool& pool, Work work, int priority = 0) {
    auto promise = std::make_shared<QPromise<Result>>();
    promise->start();
    QFuture<Result> future = promise->future();
    // Shared, because the pool takes a copyable function.
    auto sharedWork = std::make_shared<Work>(std::move(work));
    pool.start(
        [promise, sharedWork] {
            try {
                if constexpr (std::is_void_v<Result>) {
                    (*sharedWork)();
                } else {
                    promise->addResult((*sharedWork)());
                }
            } catch (...) {
                promise->setException(std::current_exception());
            }
            promise->finish();
        },
        priority);
    return future;
}

} // namespace Marrowbell
