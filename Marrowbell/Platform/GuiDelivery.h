#pragma once

#include <QFuture>
#include <QFutureWatcher>
#include <QObject>
#include <utility>

namespace Marrowbell {

/// Calls `handler(future)` on the GUI thread, on a later turn of its event loop, once `future` has a result
/// or an exception; the handler reads it with `future.result()` (or `waitForFinished()` for void) inside a
/// try block. Nothing is called when `receiver` has been destroyed by then, or when the future was cancelled
/// without a failure. Call on the GUI thread; `handler` must be copyable.
///
/// A watcher owned by the receiver rather than a continuation: Qt 6.4 can crash running a continuation from
/// the destructor of a promise that was dropped unfinished on a worker thread.
template <typename T, typename Handler>
void whenFinished(QFuture<T> future, QObject* receiver, Handler handler) {
    auto* watcher = new QFutureWatcher<T>(receiver);
    QObject::connect(watcher, &QFutureWatcherBase::finished, receiver,
                     [watcher, handler = std::move(handler)]() mutable {
                         QFuture<T> finished = watcher->future();
                         watcher->deleteLater();
                         if (finished.isCanceled()) {
                             // A failure also marks its future cancelled; only a plain cancellation is
                             // dropped.
                             try {
                                 finished.waitForFinished();
                                 return;
                             } catch (...) {
                             }
                         }
                         handler(finished);
                     });
    watcher->setFuture(std::move(future));
}

} // namespace Marrowbell
