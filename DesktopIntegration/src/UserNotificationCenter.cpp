#include "DesktopIntegration/UserNotificationCenter.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QPointer>
#include <QPromise>
#include <QVariantMap>
#include <memory>

namespace DesktopIntegration {
namespace {

const QString serviceName = QStringLiteral("org.freedesktop.Notifications");
const QString objectPath = QStringLiteral("/org/freedesktop/Notifications");
const QString interfaceName = QStringLiteral("org.freedesktop.Notifications");
constexpr int callTimeoutMs = 3000;

QDBusMessage call(const QString& method) {
    return QDBusMessage::createMethodCall(serviceName, objectPath, interfaceName, method);
}

/// Runs `finish` with the reply when the call is answered (or fails), on the receiver's thread.
template <class Finish> void whenAnswered(QObject* receiver, const QDBusPendingCall& pending, Finish finish) {
    auto* watcher = new QDBusPendingCallWatcher(pending, receiver);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, receiver,
                     [finish](QDBusPendingCallWatcher* done) {
                         finish(*done);
                         done->deleteLater();
                     });
}

template <class T> QFuture<T> failedFuture(const QString& message) {
    QPromise<T> promise;
    promise.start();
    promise.setException(std::make_exception_ptr(NotificationError(message.toStdString())));
    promise.finish();
    return promise.future();
}

} // namespace

UserNotificationCenter& UserNotificationCenter::current() {
    static QPointer<UserNotificationCenter> instance;
    if (!instance) {
        instance = new UserNotificationCenter(QDBusConnection::sessionBus(), QCoreApplication::instance());
    }
    return *instance;
}

UserNotificationCenter::UserNotificationCenter(QDBusConnection bus, QObject* parent)
    : QObject(parent)
    , bus_(std::move(bus)) {}

QFuture<bool> UserNotificationCenter::requestAuthorization() {
    if (!bus_.isConnected()) {
        return failedFuture<bool>(QStringLiteral("There is no session bus."));
    }
    auto promise = std::make_shared<QPromise<bool>>();
    promise->start();
    whenAnswered(this, bus_.asyncCall(call(QStringLiteral("GetServerInformation")), callTimeoutMs),
                 [promise](const QDBusPendingCall& answer) {
                     promise->addResult(!answer.isError());
                     promise->finish();
                 });
    return promise->future();
}

QFuture<void> UserNotificationCenter::add(const NotificationRequest& request) {
    if (!bus_.isConnected()) {
        return failedFuture<void>(QStringLiteral("There is no session bus."));
    }
    QVariantMap hints;
    if (request.imageFile) {
        hints.insert(QStringLiteral("image-path"), request.imageFile->toString());
    }
    QDBusMessage notify = call(QStringLiteral("Notify"));
    notify << QCoreApplication::applicationName() << uint(0) << QString() << request.title << request.body
           << QStringList() << hints << int(-1);
    auto promise = std::make_shared<QPromise<void>>();
    promise->start();
    QPointer<UserNotificationCenter> self(this);
    whenAnswered(
        this, bus_.asyncCall(notify, callTimeoutMs), [promise, self](const QDBusPendingCall& answer) {
            const QDBusPendingReply<uint> reply(answer);
            if (reply.isError()) {
                promise->setException(
                    std::make_exception_ptr(NotificationError(reply.error().message().toStdString())));
            } else if (self) {
                self->deliveredIDs_.push_back(reply.value());
            }
            promise->finish();
        });
    return promise->future();
}

void UserNotificationCenter::removeAllDeliveredNotifications() {
    for (const uint id : std::exchange(deliveredIDs_, {})) {
        QDBusMessage close = call(QStringLiteral("CloseNotification"));
        close << id;
        bus_.send(close);
    }
}

} // namespace DesktopIntegration
