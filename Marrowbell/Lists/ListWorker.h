#pragma once

#include <QThreadPool>
#include <memory>
#include <utility>

namespace Marrowbell {

/// The one worker thread of the lists: it builds the rows of long lists and destroys the lists they replace,
/// so that neither stalls the GUI thread. One thread keeps the work in the order it was handed over.
QThreadPool& listWorker();

/// Destroys `value` on the list worker: the last reference to a list of 100,000 songs takes tens of
/// milliseconds to free.
template <typename T> void releaseOnListWorker(T value) {
    // Behind the rows still to be built: those are what the user waits for.
    constexpr int releasePriority = -1;
    listWorker().start([dropped = std::make_shared<T>(std::move(value))]() mutable { dropped.reset(); },
                       releasePriority);
}

} // namespace Marrowbell
