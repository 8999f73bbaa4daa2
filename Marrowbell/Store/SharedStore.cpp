#include "Store/SharedStore.h"

#include <MarrowbellCore/Store/SQLError.h>
#include <QStandardPaths>
#include <filesystem>
#include <system_error>
#include <utility>

namespace Marrowbell {
namespace {

// The open goes ahead of calls queued before it.
constexpr int openPriority = 1;

std::shared_ptr<MarrowbellCore::LocalDatabase> createDatabase(const QString& databasePath) {
    const std::filesystem::path file = databasePath.toStdString();
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    if (error) {
        throw StoreCreationError("Could not create the folder " + file.parent_path().string() + ": " +
                                 error.message());
    }
    try {
        return std::make_shared<MarrowbellCore::LocalDatabase>(file.string());
    } catch (const std::exception& failure) {
        throw StoreCreationError("Could not create the library database " + file.string() + ": " +
                                 failure.what());
    }
}

} // namespace

SharedStore::SharedStore(const QString& databasePath)
    : databasePath_(databasePath)
    , database_(createDatabase(databasePath)) {
    executor_.setMaxThreadCount(1);
    database_->setDamageObserver([this](const MarrowbellCore::SQLError& error) { markDamaged(error); });
}

SharedStore::~SharedStore() {
    close();
    waitForIdle(std::chrono::seconds(5));
}

QString SharedStore::standardDatabasePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Marrowbell/local.db");
}

QFuture<bool> SharedStore::open() {
    setState(State::opening);
    return startOnPool(
        executor_,
        [this] {
            bool isNewFile = false;
            try {
                isNewFile = database_->open();
            } catch (const std::exception& failure) {
                setState(State::failed, failure.what());
                throw;
            }
            markOpen();
            return isNewFile;
        },
        openPriority);
}

void SharedStore::onDamage(DamageReport report) {
    std::lock_guard lock(mutex_);
    damageReport_ = std::move(report);
}

void SharedStore::markOpen() {
    std::optional<MarrowbellCore::SQLError> damage;
    DamageReport report;
    {
        std::lock_guard lock(mutex_);
        damage = std::exchange(damageWhileOpening_, std::nullopt);
        if (damage) {
            // The check that the open started failed before the open was done.
            report = failForDamage(*damage);
        } else {
            state_ = State::open;
        }
    }
    stateChanged_.notify_all();
    if (damage && report) {
        report(*damage);
    }
}

void SharedStore::markDamaged(const MarrowbellCore::SQLError& error) {
    DamageReport report;
    {
        std::lock_guard lock(mutex_);
        if (state_ == State::opening) {
            // Either the open fails and says so itself, or it succeeds and reports this then.
            damageWhileOpening_ = error;
            return;
        }
        if (state_ != State::open) {
            return;
        }
        report = failForDamage(error);
    }
    stateChanged_.notify_all();
    if (report) {
        report(error);
    }
}

SharedStore::DamageReport SharedStore::failForDamage(const MarrowbellCore::SQLError& error) {
    state_ = State::failed;
    failure_ = error.what();
    return damageReport_;
}

QFuture<void> SharedStore::close() {
    return startOnPool(executor_, [this] {
        {
            std::lock_guard lock(mutex_);
            if (state_ == State::closed) {
                return;
            }
        }
        database_->close();
        setState(State::closed);
    });
}

bool SharedStore::waitForIdle(std::chrono::milliseconds timeout) {
    return executor_.waitForDone(static_cast<int>(timeout.count()));
}

std::shared_ptr<MarrowbellCore::LocalDatabase> SharedStore::database(std::chrono::milliseconds timeout) {
    {
        std::unique_lock lock(mutex_);
        stateChanged_.wait_for(lock, timeout, [this] { return state_ != State::opening; });
    }
    return availableDatabase();
}

std::shared_ptr<MarrowbellCore::LocalDatabase> SharedStore::availableDatabase() {
    std::lock_guard lock(mutex_);
    switch (state_) {
    case State::open:
        return database_;
    case State::failed:
        throw StoreUnavailableError("The library database is unavailable: " + failure_);
    case State::closed:
        throw StoreUnavailableError("The library database is closed.");
    case State::created:
    case State::opening:
        break;
    }
    throw StoreUnavailableError("The library database is not open yet.");
}

void SharedStore::setState(State state, std::string failure) {
    {
        std::lock_guard lock(mutex_);
        state_ = state;
        failure_ = std::move(failure);
    }
    stateChanged_.notify_all();
}

} // namespace Marrowbell
