#include "Platform/Defaults.h"
#include "Platform/DefaultsKeys.h"
#include "RecordedSignals.h"
#include "Settings/NotificationSettingsPane.h"

#include <DesktopIntegration/UserNotificationCenter.h>
#include <QCheckBox>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QFutureWatcher>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <UnifiedLog/LogStore.h>
#include <gtest/gtest.h>
#include <memory>

namespace Marrowbell {
namespace {

using Testing::RecordedSignal;
using Testing::recordedSignals;

const RecordedSignal subscribed{"subscribe_notifications", {}};

/// The desktop's notification service, asked for permission: it grants, refuses with an error, or holds
/// its answers until the test releases them.
class NotificationService : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    enum class Answer { grant, refuse, hold };
    Answer answer = Answer::grant;
    int questions = 0;

    void releaseHeldAnswers() {
        for (const QDBusMessage& question : std::exchange(held_, {})) {
            heldOn_.send(question.createReply(QStringLiteral("test service")));
        }
    }

public Q_SLOTS:
    QString GetServerInformation() {
        ++questions;
        if (answer == Answer::refuse) {
            sendErrorReply(QDBusError::AccessDenied, QStringLiteral("Notifications are turned off"));
        } else if (answer == Answer::hold) {
            setDelayedReply(true);
            held_.push_back(message());
            heldOn_ = connection();
        }
        return QStringLiteral("test service");
    }

private:
    std::vector<QDBusMessage> held_;
    QDBusConnection heldOn_{QString()};
};

/// A private session bus, a notification centre on it and the pane over temporary settings.
class NotificationSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        daemon.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                                     QStringLiteral("--print-address")});
        ASSERT_TRUE(daemon.waitForStarted(5000));
        ASSERT_TRUE(QTest::qWaitFor([&] { return daemon.canReadLine(); }, 5000));
        address = QString::fromUtf8(daemon.readLine()).trimmed();
        recordedSignals->takeSent();
    }
    void TearDown() override {
        pane.reset();
        center.reset();
        for (const char* name : {"client", "service"}) {
            QDBusConnection::disconnectFromBus(QString::fromLatin1(name));
        }
        daemon.terminate();
        if (!daemon.waitForFinished(3000)) {
            daemon.kill();
            daemon.waitForFinished(3000);
        }
    }

    void offer(NotificationService& service) {
        QDBusConnection bus = QDBusConnection::connectToBus(address, QStringLiteral("service"));
        ASSERT_TRUE(bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &service,
                                       QDBusConnection::ExportAllSlots));
        ASSERT_TRUE(bus.registerService(QStringLiteral("org.freedesktop.Notifications")));
    }

    void openPane(const QDBusConnection& bus) {
        center = std::make_unique<DesktopIntegration::UserNotificationCenter>(bus);
        pane = std::make_unique<NotificationSettingsPane>(defaults, *center);
        pane->show();
    }
    void openPane() { openPane(QDBusConnection::connectToBus(address, QStringLiteral("client"))); }

    QCheckBox& toggle() { return *pane->postNotificationsToggle(); }
    bool storedOn() const { return defaults.boolValue(DefaultsKeys::postNotificationsWhenSongChanges); }
    bool answered() {
        return QTest::qWaitFor([&] { return pane->findChildren<QFutureWatcher<bool>*>().isEmpty(); }, 5000);
    }

    QTemporaryDir folder;
    Defaults defaults{folder.filePath(QStringLiteral("settings.conf"))};
    QProcess daemon;
    QString address;
    std::unique_ptr<DesktopIntegration::UserNotificationCenter> center;
    std::unique_ptr<NotificationSettingsPane> pane;
};

TEST_F(NotificationSettingsTest, GrantedPermissionKeepsTheSwitchOnAndSubscribesOnce) {
    NotificationService service;
    offer(service);
    openPane();
    toggle().click();
    EXPECT_TRUE(storedOn());
    ASSERT_TRUE(answered());
    EXPECT_EQ(recordedSignals->takeSent(), std::vector{subscribed});
    EXPECT_TRUE(toggle().isChecked());
    EXPECT_TRUE(storedOn());

    toggle().click();
    EXPECT_FALSE(storedOn());
    EXPECT_TRUE(recordedSignals->takeSent().empty());
    EXPECT_EQ(service.questions, 1) << "turning the switch off asks nothing";
}

TEST_F(NotificationSettingsTest, AbsentOrRefusingServiceTurnsTheSwitchBackOffSilently) {
    openPane();
    toggle().click();
    ASSERT_TRUE(answered());
    EXPECT_FALSE(toggle().isChecked());
    EXPECT_FALSE(storedOn());
    EXPECT_TRUE(recordedSignals->takeSent().empty());

    NotificationService service;
    service.answer = NotificationService::Answer::refuse;
    offer(service);
    toggle().click();
    ASSERT_TRUE(answered());
    EXPECT_EQ(service.questions, 1);
    EXPECT_FALSE(toggle().isChecked());
    EXPECT_FALSE(storedOn());
    EXPECT_TRUE(recordedSignals->takeSent().empty());
}

TEST_F(NotificationSettingsTest, AnAnswerCountsOnlyForTheSwitchingOnThatAskedIt) {
    NotificationService service;
    service.answer = NotificationService::Answer::hold;
    offer(service);
    openPane();
    toggle().click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return service.questions == 1; }, 5000));
    toggle().click();
    service.releaseHeldAnswers();
    ASSERT_TRUE(answered());
    EXPECT_TRUE(recordedSignals->takeSent().empty()) << "turned off before the answer came";
    EXPECT_FALSE(storedOn());

    // Off and on again while the first question waits: one subscription, for the second.
    toggle().click();
    toggle().click();
    toggle().click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return service.questions == 3; }, 5000));
    service.releaseHeldAnswers();
    ASSERT_TRUE(answered());
    EXPECT_EQ(recordedSignals->takeSent(), std::vector{subscribed});
    EXPECT_TRUE(storedOn());
}

TEST_F(NotificationSettingsTest, AFailedRequestIsLoggedReportedAndTurnsTheSwitchOff) {
    UnifiedLog::LogStore::shared().removeAll();
    openPane(QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"),
                                           QStringLiteral("client")));
    toggle().click();
    ASSERT_TRUE(answered());
    EXPECT_FALSE(toggle().isChecked());
    EXPECT_FALSE(storedOn());

    const auto errors = UnifiedLog::LogStore::shared().entries(UnifiedLog::LogLevel::error);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].category, "app");
    EXPECT_EQ(errors[0].message, "Failed to request notification permissions: There is no session bus.");
    const auto sent = recordedSignals->takeSent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].type, "UsageStats.Error.occurred");
    EXPECT_EQ(sent[0].parameters.at("UsageStats.Error.id"), "error_subscribe_notifications");
}

} // namespace
} // namespace Marrowbell

#include "NotificationSettingsTests.moc"
