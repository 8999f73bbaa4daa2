#include "Model/NotificationAttachment.h"
#include "ModelPlaybackFixture.h"

#include <DesktopIntegration/UserNotificationCenter.h>
#include <QDBusConnection>
#include <QFileInfo>
#include <QProcess>
#include <QVariantMap>

namespace Marrowbell::Testing {

/// A desktop notification service that keeps what it is sent.
class RecordingNotificationService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Received {
        QString title;
        QString body;
        QString imagePath;
    };
    std::vector<Received> received;

public Q_SLOTS:
    uint Notify(const QString&, uint, const QString&, const QString& summary, const QString& body,
                const QStringList&, const QVariantMap& hints, int) {
        received.push_back(
            {summary, body, QUrl(hints.value(QStringLiteral("image-path")).toString()).toLocalFile()});
        return static_cast<uint>(received.size());
    }
    void CloseNotification(uint) {}
    QString GetServerInformation() { return QStringLiteral("recording"); }
};

namespace {

/// The model posts to a notification service on a session bus of the test's own.
class SongNotificationTest : public ModelPlaybackTest {
protected:
    void SetUp() override {
        ModelPlaybackTest::SetUp();
        daemon.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                                     QStringLiteral("--print-address")});
        ASSERT_TRUE(daemon.waitForStarted(5000));
        ASSERT_TRUE(QTest::qWaitFor([&] { return daemon.canReadLine(); }, 5000));
        const QString address = QString::fromUtf8(daemon.readLine()).trimmed();
        QDBusConnection serviceBus = QDBusConnection::connectToBus(address, QStringLiteral("service"));
        ASSERT_TRUE(serviceBus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &recorder,
                                              QDBusConnection::ExportAllSlots));
        ASSERT_TRUE(serviceBus.registerService(QStringLiteral("org.freedesktop.Notifications")));
        center = std::make_unique<DesktopIntegration::UserNotificationCenter>(
            QDBusConnection::connectToBus(address, QStringLiteral("client")));
        model->useNotificationCenter(*center);
        environment->defaults().setValue(DefaultsKeys::postNotificationsWhenSongChanges, true);
    }
    void TearDown() override {
        ModelPlaybackTest::TearDown();
        center.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("client"));
        QDBusConnection::disconnectFromBus(QStringLiteral("service"));
        daemon.terminate();
        if (!daemon.waitForFinished(3000)) {
            daemon.kill();
            daemon.waitForFinished(3000);
        }
    }

    /// Plays `song` as far as the model is concerned and waits for its artwork to be shown.
    void show(const MusicKit::Song& song) {
        player->setQueue({song});
        model->refreshPlayerState();
        const QString key = QStringLiteral("song-") + QString::fromStdString(song.id.rawValue());
        ASSERT_TRUE(QTest::qWaitFor([&] { return model->playingItemIDForArtwork.get() == key; }, 10000));
    }

    MusicKit::Song songWithID(const std::string& id, const std::string& title) const {
        auto song = catalogSong(20);
        song.id = MusicKit::MusicItemID(id);
        song.title = title;
        song.artwork = artworkFor("n1");
        return song;
    }

    QProcess daemon;
    RecordingNotificationService recorder;
    std::unique_ptr<DesktopIntegration::UserNotificationCenter> center;
};

TEST_F(SongNotificationTest, OneNotificationPerSongWithItsImageInsideTheTemporaryFolder) {
    ASSERT_NO_FATAL_FAILURE(show(songWithID("../x", "Escaping Song")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return recorder.received.size() == 1; }, 5000));
    const auto first = recorder.received[0];
    EXPECT_EQ(first.title, QStringLiteral("Escaping Song"));
    EXPECT_EQ(first.body, QString::fromStdString(catalogSong(20).artistName));
    ASSERT_FALSE(first.imagePath.isEmpty());
    EXPECT_EQ(QFileInfo(first.imagePath).absolutePath(), QDir::temp().absolutePath());
    EXPECT_TRUE(QFileInfo::exists(first.imagePath));
    EXPECT_FALSE(QFileInfo::exists(QDir::temp().filePath(QStringLiteral("x.png"))));

    // The same song refreshed again (an edit of the queue) is not announced again.
    model->refreshPlayerState();
    QTest::qWait(300);
    EXPECT_EQ(recorder.received.size(), 1u);

    ASSERT_NO_FATAL_FAILURE(show(songWithID("next", "Next Song")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return recorder.received.size() == 2; }, 5000));
    EXPECT_TRUE(QFileInfo::exists(recorder.received[1].imagePath));
    EXPECT_FALSE(QFileInfo::exists(first.imagePath)) << "the previous attachment is removed";
}

TEST_F(SongNotificationTest, NothingIsPostedWhileTheSettingIsOff) {
    environment->defaults().setValue(DefaultsKeys::postNotificationsWhenSongChanges, false);
    const auto skipped = logCount("Notifications are disabled, skipping notification post");
    ASSERT_NO_FATAL_FAILURE(show(songWithID("quiet", "Quiet Song")));
    QTest::qWait(200);
    EXPECT_TRUE(recorder.received.empty());
    EXPECT_EQ(logCount("Notifications are disabled, skipping notification post") - skipped, 1u);
}

TEST(NotificationAttachmentName, IsAHashInsideTheTemporaryFolder) {
    const QString path = NotificationAttachment::pathFor(QStringLiteral("song-../../etc/x"));
    EXPECT_EQ(QFileInfo(path).absolutePath(), QDir::temp().absolutePath());
    EXPECT_EQ(QFileInfo(path).fileName().size(), 3 + 64 + 4);
    EXPECT_EQ(path, NotificationAttachment::pathFor(QStringLiteral("song-../../etc/x")));
}

} // namespace
} // namespace Marrowbell::Testing

#include "NotificationTests.moc"
