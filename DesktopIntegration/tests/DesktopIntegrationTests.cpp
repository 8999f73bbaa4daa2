#include <DesktopIntegration/LowPowerMode.h>
#include <DesktopIntegration/UserNotificationCenter.h>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QProcess>
#include <QTest>
#include <QThread>
#include <QVariantMap>
#include <gtest/gtest.h>

namespace DesktopIntegration {
namespace {

/// A notification service that keeps what it is sent.
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

/// The power-profiles daemon's one property this system reads.
class PowerProfilesService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "net.hadess.PowerProfiles")
    Q_PROPERTY(QString ActivePowerProfile MEMBER activeProfile)
public:
    QString activeProfile;
};

/// A session bus of the test's own, ended with the test.
class PrivateBusTest : public ::testing::Test {
protected:
    void SetUp() override {
        daemon.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                                     QStringLiteral("--print-address")});
        ASSERT_TRUE(daemon.waitForStarted(5000));
        ASSERT_TRUE(QTest::qWaitFor([&] { return daemon.canReadLine(); }, 5000));
        address = QString::fromUtf8(daemon.readLine()).trimmed();
    }
    void TearDown() override {
        QDBusConnection::disconnectFromBus(QStringLiteral("client"));
        QDBusConnection::disconnectFromBus(QStringLiteral("service"));
        daemon.terminate();
        if (!daemon.waitForFinished(3000)) {
            daemon.kill();
            daemon.waitForFinished(3000);
        }
    }
    QDBusConnection connect(const QString& name) { return QDBusConnection::connectToBus(address, name); }
    /// Offers `object` under the well-known `service` name on a connection of its own.
    void offer(QObject* object, const QString& service, const QString& path) {
        QDBusConnection bus = connect(QStringLiteral("service"));
        ASSERT_TRUE(bus.isConnected());
        ASSERT_TRUE(bus.registerObject(
            path, object, QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties));
        ASSERT_TRUE(bus.registerService(service));
    }

    QProcess daemon;
    QString address;
};

template <class T> T resultOf(QFuture<T> future) {
    EXPECT_TRUE(QTest::qWaitFor([&] { return future.isFinished(); }, 5000));
    return future.result();
}

TEST_F(PrivateBusTest, NotificationReachesTheServiceWithTitleBodyAndImage) {
    UserNotificationCenter center(connect(QStringLiteral("client")));
    EXPECT_FALSE(resultOf(center.requestAuthorization())) << "no service, no permission";

    RecordingNotificationService service;
    offer(&service, QStringLiteral("org.freedesktop.Notifications"),
          QStringLiteral("/org/freedesktop/Notifications"));
    EXPECT_TRUE(resultOf(center.requestAuthorization()));

    const QUrl image = QUrl::fromLocalFile(QStringLiteral("/tmp/at_song-1.png"));
    auto added =
        center.add({QStringLiteral("1"), QStringLiteral("Song Title"), QStringLiteral("Artist"), image});
    ASSERT_TRUE(QTest::qWaitFor([&] { return added.isFinished(); }, 5000));
    EXPECT_NO_THROW(added.waitForFinished());
    ASSERT_EQ(service.received.size(), 1u);
    EXPECT_EQ(service.received[0].title, QStringLiteral("Song Title"));
    EXPECT_EQ(service.received[0].body, QStringLiteral("Artist"));
    EXPECT_EQ(service.received[0].hints.value(QStringLiteral("image-path")).toString(), image.toString());

    center.removeAllDeliveredNotifications();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !service.closed.empty(); }, 5000));
    EXPECT_EQ(service.closed, std::vector<uint>{1});
}

TEST_F(PrivateBusTest, NotificationWithoutServiceFails) {
    UserNotificationCenter center(connect(QStringLiteral("client")));
    auto added = center.add({QStringLiteral("1"), QStringLiteral("Title"), QString(), std::nullopt});
    ASSERT_TRUE(QTest::qWaitFor([&] { return added.isFinished(); }, 5000));
    EXPECT_THROW(added.waitForFinished(), NotificationError);
}

TEST_F(PrivateBusTest, LowPowerModeFollowsThePowerSaverProfile) {
    const QDBusConnection client = connect(QStringLiteral("client"));
    EXPECT_FALSE(isLowPowerModeEnabled(client)) << "no daemon";

    // The question blocks this thread, so the daemon answers from another one.
    QThread daemonThread;
    PowerProfilesService profiles;
    profiles.activeProfile = QStringLiteral("power-saver");
    profiles.moveToThread(&daemonThread);
    daemonThread.start();
    offer(&profiles, QStringLiteral("net.hadess.PowerProfiles"), QStringLiteral("/net/hadess/PowerProfiles"));
    EXPECT_TRUE(isLowPowerModeEnabled(client));
    QMetaObject::invokeMethod(
        &profiles, [&] { profiles.activeProfile = QStringLiteral("balanced"); },
        Qt::BlockingQueuedConnection);
    EXPECT_FALSE(isLowPowerModeEnabled(client));
    daemonThread.quit();
    daemonThread.wait(3000);
    QDBusConnection::disconnectFromBus(QStringLiteral("service"));
}

} // namespace
} // namespace DesktopIntegration

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

#include "DesktopIntegrationTests.moc"
