#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <vector>

namespace DesktopIntegration::Testing {

/// A desktop notification service that keeps what it is sent; offer it on a PrivateBus at
/// "/org/freedesktop/Notifications" as "org.freedesktop.Notifications".
class RecordingNotificationService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    struct Received {
        QString title;
        QString body;
        QVariantMap hints;
    };
    std::vector<Received> received;
    std::vector<uint> closed;

public Q_SLOTS:
    uint Notify(const QString&, uint, const QString&, const QString& summary, const QString& body,
                const QStringList&, const QVariantMap& hints, int) {
        received.push_back({summary, body, hints});
        return static_cast<uint>(received.size());
    }
    void CloseNotification(uint id) { closed.push_back(id); }
    QString GetServerInformation() { return QStringLiteral("recording"); }
};

} // namespace DesktopIntegration::Testing
