#pragma once

#include <QFuture>
#include <QPromise>
#include <UnifiedLog/Logger.h>
#include <exception>
#include <memory>
#include <string_view>

namespace Marrowbell {

/// A promise that several GUI-thread continuations share; its future is what an operation returns.
template <class T = void> std::shared_ptr<QPromise<T>> startedPromise() {
    auto promise = std::make_shared<QPromise<T>>();
    promise->start();
    return promise;
}

/// A future that has already finished, holding `error` when one is given.
template <class T = void> QFuture<T> finishedFuture(std::exception_ptr error = nullptr) {
    QPromise<T> promise;
    promise.start();
    if (error) {
        promise.setException(error);
    }
    promise.finish();
    return promise.future();
}

/// The exception a finished `future` holds, or null.
template <class T> std::exception_ptr failureOf(QFuture<T> future) {
    try {
        future.waitForFinished();
    } catch (...) {
        return std::current_exception();
    }
    return nullptr;
}

/// Logs `format` at error level with the error's description as its one argument.
void logFailure(const UnifiedLog::Logger& logger, std::string_view format, const std::exception_ptr& error);

/// Whether `error` holds an `Error` (or a type derived from it).
template <class Error> bool holdsFailure(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const Error&) {
        return true;
    } catch (...) {
        return false;
    }
}

/// Whether `error` is a cancellation (Foundation::CancellationError).
bool isCancellation(const std::exception_ptr& error);

} // namespace Marrowbell
