#pragma once

#include "Platform/AppNotifications.h"
#include "Platform/BackgroundWork.h"
#include "Platform/Defaults.h"
#include "Platform/SyncNotificationForwarder.h"
#include "Service/ActiveService.h"
#include "Store/SharedStore.h"

#include <QFuture>
#include <QObject>
#include <QString>
#include <cstddef>
#include <exception>

namespace Marrowbell {

/// Everything the application's models share, made once per process and passed to them: the settings, the
/// library store with its serial executor, the workers of long operations, the in-app notifications, the
/// core's sync notifications on the GUI thread, and the music service in use. Tests build one on
/// temporary paths. GUI thread.
class AppEnvironment final : public QObject {
    Q_OBJECT

public:
    struct Options {
        QString databasePath = SharedStore::standardDatabasePath();
        QString settingsPath = Defaults::standardFilePath();
        std::size_t demoSongCount = ActiveService::defaultDemoSongCount;
    };

    /// Creates the store and queues its opening, registers the appearance defaults and starts the service.
    /// Throws StoreCreationError, MusicKit::ServiceConfigurationError or std::runtime_error (demo service).
    explicit AppEnvironment(const Options& options, QObject* parent = nullptr);
    ~AppEnvironment() override;

    Defaults& defaults() { return defaults_; }
    SharedStore& store() { return store_; }
    BackgroundWork& background() { return background_; }
    AppNotifications& notifications() { return notifications_; }
    SyncNotificationForwarder& syncNotifications() { return syncNotifications_; }
    const ActiveService& service() const { return service_; }
    /// Finishes on the GUI thread once the store's opening has ended, successfully or not, and, when it made
    /// a new library file, the sync history of the file before has been forgotten (forgetSyncHistory): read
    /// the library's sync state after it.
    QFuture<void> storeOpening() const { return storeOpening_; }

    /// Cancels the background work, then closes the store, each waiting a bounded time. For quitting.
    void shutDown();

Q_SIGNALS:
    /// The store could not be opened, or was found damaged later (logged and reported already); `message`
    /// says why, for the user. Emitted at most once.
    void storeUnavailable(const QString& message);

private:
    void watchStoreOpening();
    void announceUnavailableStore(const std::exception& error, const char* reportName);

    BackgroundWork background_;
    SharedStore store_;
    Defaults defaults_;
    ActiveService service_;
    AppNotifications notifications_;
    SyncNotificationForwarder syncNotifications_;
    QFuture<void> storeOpening_;
};

} // namespace Marrowbell
