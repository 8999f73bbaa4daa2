#include "Platform/SyncNotificationForwarder.h"

#include <QCoreApplication>
#include <QPointer>

namespace Marrowbell {

SyncNotificationForwarder::SyncNotificationForwarder(MarrowbellCore::SyncNotificationCenter& center,
                                                     QObject* parent)
    : QObject(parent)
    , center_(center) {
    using MarrowbellCore::SyncNotification;
    const QPointer<SyncNotificationForwarder> guard(this);
    for (const char* name : {SyncNotification::playlistSyncCompleted, SyncNotification::albumSyncCompleted,
                             SyncNotification::artistSyncCompleted, SyncNotification::songSyncCompleted}) {
        observers_.push_back(center_.addObserver(name, [guard](const std::string& posted) {
            // The guard is only read on the GUI thread, where the forwarder lives and dies.
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [guard, posted] {
                    if (guard) {
                        Q_EMIT guard->syncCompleted(QString::fromStdString(posted));
                    }
                },
                Qt::QueuedConnection);
        }));
    }
}

SyncNotificationForwarder::~SyncNotificationForwarder() {
    for (const auto id : observers_) {
        center_.removeObserver(id);
    }
}

} // namespace Marrowbell
