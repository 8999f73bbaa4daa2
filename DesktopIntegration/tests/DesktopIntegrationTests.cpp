#include "PowerProfilesService.h"
#include "PrivateBus.h"
#include "RecordingNotificationService.h"

#include <DesktopIntegration/LowPowerMode.h>
#include <DesktopIntegration/UserNotificationCenter.h>
#include <QCoreApplication>
#include <QTest>
#include <QThread>
#include <QVariantMap>
#include <gtest/gtest.h>

namespace DesktopIntegration {
namespace {

/// A session bus of the test's own, ended with the test.
class PrivateBusTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(bus.start()); }

    Testing::PrivateBus bus;
};

template <class T> T resultOf(QFuture<T> future) {
    EXPECT_TRUE(QTest::qWaitFor([&] { return future.isFinished(); }, 5000));
    return future.result();
}

TEST_F(PrivateBusTest, NotificationReachesTheServiceWithTitleBodyAndImage) {
    UserNotificationCenter center(bus.connect(QStringLiteral("client")));
    EXPECT_FALSE(resultOf(center.requestAuthorization())) << "no service, no permission";

    Testing::RecordingNotificationService service;
    ASSERT_TRUE(bus.offer(&service, QStringLiteral("org.freedesktop.Notifications"),
                          QStringLiteral("/org/freedesktop/Notifications")));
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
    UserNotificationCenter center(bus.connect(QStringLiteral("client")));
    auto added = center.add({QStringLiteral("1"), QStringLiteral("Title"), QString(), std::nullopt});
    ASSERT_TRUE(QTest::qWaitFor([&] { return added.isFinished(); }, 5000));
    EXPECT_THROW(added.waitForFinished(), NotificationError);
}

TEST_F(PrivateBusTest, LowPowerModeFollowsThePowerSaverProfile) {
    const QDBusConnection client = bus.connect(QStringLiteral("client"));
    EXPECT_FALSE(isLowPowerModeEnabled(client)) << "no daemon";

    // The question blocks this thread, so the daemon answers from another one.
    QThread daemonThread;
    Testing::PowerProfilesService profiles;
    profiles.activeProfile = QStringLiteral("power-saver");
    profiles.moveToThread(&daemonThread);
    daemonThread.start();
    EXPECT_TRUE(bus.offer(&profiles, QStringLiteral("net.hadess.PowerProfiles"),
                          QStringLiteral("/net/hadess/PowerProfiles")));
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
