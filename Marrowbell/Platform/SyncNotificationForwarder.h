#pragma once

#include <MarrowbellCore/Sync/SyncNotifications.h>
#include <QObject>
#include <vector>

namespace Marrowbell {

/// Brings the core's sync-completed notifications ("playlistSyncCompleted", "albumSyncCompleted",
/// "artistSyncCompleted", "songSyncCompleted"), posted on a sync's worker thread, to the GUI thread as the
/// signal `syncCompleted`. Create and destroy on the GUI thread; a posting that arrives after destruction
/// is dropped.
class SyncNotificationForwarder final : public QObject {
    Q_OBJECT

public:
    explicit SyncNotificationForwarder(MarrowbellCore::SyncNotificationCenter& center =
                                           MarrowbellCore::SyncNotificationCenter::defaultCenter(),
                                       QObject* parent = nullptr);
    ~SyncNotificationForwarder() override;

Q_SIGNALS:
    void syncCompleted(const QString& name);

private:
    MarrowbellCore::SyncNotificationCenter& center_;
    std::vector<MarrowbellCore::SyncNotificationCenter::ObserverID> observers_;
};

} // namespace Marrowbell
