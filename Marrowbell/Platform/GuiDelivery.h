#pragma once

#include <QCoreApplication>
#include <QFuture>
#include <QPointer>
#include <utility>

namespace Marrowbell {

/// Calls `handler(future)` on the GUI thread, on a later turn of its event loop, once `future` has a result
/// or an exception; the handler reads it with `future.result()` (or `waitForFinished()` for void) inside a
/// try block. Nothing is called when `receiver` has been destroyed by then, or when the future was cancelled.
/// Call on the GUI thread; `handler` must be copyable.
template <typename T, typename Handler>
void whenFinished(QFuture<T> future, QObject* receiver, Handler handler) {
    QPointer<QObject> guard(receiver);
    future.then(QtFuture::Launch::Sync, [guard, handler = std::move(handler)](QFuture<T> finished) {
        if (QCoreApplication* application = QCoreApplication::instance()) {
            QMetaObject::invokeMethod(
                application,
                [guard, handler, finished]() mutable {
                    if (guard) {
                        handler(finished);
                    }
                },
                Qt::QueuedConnection);
        }
    });
}

} // namespace Marrowbell
