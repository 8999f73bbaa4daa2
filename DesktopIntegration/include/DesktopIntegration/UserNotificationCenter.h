#pragma once

#include <QDBusConnection>
#include <QFuture>
#include <QObject>
#include <QString>
#include <QUrl>
#include <optional>
#include <stdexcept>
#include <vector>

namespace DesktopIntegration {

/// A failed call to the desktop's notification service (no session bus, no answer, an error).
class NotificationError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// One notification: shown at once, with an optional image file.
struct NotificationRequest {
    /// The application's own name for it.
    QString identifier;
    QString title;
    QString body;
    std::optional<QUrl> imageFile;
};

/// Desktop notifications through the session bus's "org.freedesktop.Notifications" service.
/// GUI thread only; the futures finish on it, with NotificationError on failure.
class UserNotificationCenter : public QObject {
    Q_OBJECT
public:
    /// The process's centre on the session bus, made on first use; it lives as long as the
    /// application object.
    static UserNotificationCenter& current();

    explicit UserNotificationCenter(QDBusConnection bus, QObject* parent = nullptr);

    /// Granted (true) when the notification service is present and answers; false when it is
    /// absent. Fails with NotificationError only without a session bus.
    QFuture<bool> requestAuthorization();
    /// Shows the notification.
    QFuture<void> add(const NotificationRequest& request);
    /// Closes the notifications this centre has shown that are still open.
    void removeAllDeliveredNotifications();

private:
    QDBusConnection bus_;
    std::vector<uint> deliveredIDs_;
};

} // namespace DesktopIntegration
