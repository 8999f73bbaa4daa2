#pragma once

#include "Platform/BackgroundTask.h"
#include "Store/StoreErrors.h"

#include <MarrowbellCore/Store/LocalDatabase.h>
#include <MarrowbellCore/Store/SQLError.h>
#include <QFuture>
#include <QString>
#include <QThreadPool>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace Marrowbell {

/// The process's one library store (`local.db`) and the serial executor its calls run on.
///
/// `run` queues a call on the store's one worker thread, so calls run one at a time in the order they were
/// made; each finds the store open or fails with StoreUnavailableError, never with an unrelated SQL error.
/// `database` gives the store itself to a SyncEngine on a worker thread. Results and failures come back
/// through the returned futures. Create, open, close and destroy on the GUI thread; `run` from any thread.
class SharedStore {
public:
    using DamageReport = std::function<void(const MarrowbellCore::SQLError&)>;

    /// Creates the folder of `databasePath` with its parents and the store on that file (not yet opened).
    /// Throws StoreCreationError saying what could not be made and why.
    explicit SharedStore(const QString& databasePath);
    /// Waits for the queued calls (up to 5 s) and closes the store.
    ~SharedStore();
    SharedStore(const SharedStore&) = delete;
    SharedStore& operator=(const SharedStore&) = delete;

    /// "Marrowbell/local.db" in the XDG data home ($XDG_DATA_HOME or ~/.local/share).
    static QString standardDatabasePath();

    const QString& databasePath() const { return databasePath_; }

    /// Queues the schema set-up ahead of every later call; its result tells whether it made a new library
    /// file (LocalDatabase::open). Its failure (an SQLError) comes back through the future and makes every
    /// later call fail with StoreUnavailableError.
    QFuture<bool> open();

    /// Calls `report(error)` once, on the thread that found it, when the file is found damaged after a
    /// successful open, by the check of the file that the open starts or by a later call (a damaged file
    /// found by the open itself fails the open instead). From then on every call fails with
    /// StoreUnavailableError and nothing more is written to the file. Set before `open()`.
    void onDamage(DamageReport report);

    /// Queues `work(LocalDatabase&)` and gives its result or its exception.
    template <typename Work> auto run(Work work) {
        return startOnPool(executor_, [this, work = std::move(work)]() mutable {
            std::shared_ptr<MarrowbellCore::LocalDatabase> database = availableDatabase();
            return work(*database);
        });
    }

    /// The store, for a SyncEngine. Waits up to `timeout` for a queued open to finish, then gives the open
    /// store or throws StoreUnavailableError. Worker threads only.
    std::shared_ptr<MarrowbellCore::LocalDatabase>
    database(std::chrono::milliseconds timeout = std::chrono::seconds(30));

    /// Queues the closing of the connection; every later call fails with StoreUnavailableError.
    QFuture<void> close();

    /// Waits up to `timeout` for the queued calls; true when none is left.
    bool waitForIdle(std::chrono::milliseconds timeout);

private:
    enum class State { created, opening, open, failed, closed };

    std::shared_ptr<MarrowbellCore::LocalDatabase> availableDatabase();
    void setState(State state, std::string failure = {});
    void markOpen();
    void markDamaged(const MarrowbellCore::SQLError& error);
    /// With `mutex_` held: fails every later call with `error`; gives the report to make once it is let go.
    DamageReport failForDamage(const MarrowbellCore::SQLError& error);

    QString databasePath_;
    std::shared_ptr<MarrowbellCore::LocalDatabase> database_;
    QThreadPool executor_;

    std::mutex mutex_;
    std::condition_variable stateChanged_;
    State state_ = State::created;
    std::string failure_;
    std::optional<MarrowbellCore::SQLError> damageWhileOpening_;
    DamageReport damageReport_;
};

} // namespace Marrowbell
