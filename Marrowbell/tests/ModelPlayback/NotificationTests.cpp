#include "Model/NotificationAttachment.h"
#include "ModelPlaybackFixture.h"

#include <DemoService/DelayingRelay.h>
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

    /// Plays `song` and waits for its artwork to be shown.
    void show(const MusicKit::Song& song) {
        player->setQueue({song});
        ASSERT_TRUE(finishes(player->play()));
        model->refreshPlayerState();
        const QString key = QStringLiteral("song-") + QString::fromStdString(song.id.rawValue());
        ASSERT_TRUE(QTest::qWaitFor([&] { return model->playingItemIDForArtwork.get() == key; }, 10000));
    }

    MusicKit::Song songTitled(std::size_t index, const std::string& title) const {
        auto song = catalogSong(index);
        song.title = title;
        song.artwork = artworkFor("n1");
        return song;
    }

    /// Plays `songs` from the first on the started model and waits for its notification.
    void playAnnounced(const std::vector<MusicKit::Song>& songs) {
        ASSERT_TRUE(finishes(model->start()));
        player->setQueue(songs);
        ASSERT_TRUE(finishes(player->play()));
        ASSERT_TRUE(QTest::qWaitFor([&] { return recorder.received.size() == 1; }, 5000));
    }

    QProcess daemon;
    RecordingNotificationService recorder;
    std::unique_ptr<DesktopIntegration::UserNotificationCenter> center;
};

TEST_F(SongNotificationTest, OneNotificationPerSongWithItsImageInsideTheTemporaryFolder) {
    ASSERT_NO_FATAL_FAILURE(show(songTitled(20, "First Song")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return recorder.received.size() == 1; }, 5000));
    const auto first = recorder.received[0];
    EXPECT_EQ(first.title, QStringLiteral("First Song"));
    EXPECT_EQ(first.body, QString::fromStdString(catalogSong(20).artistName));
    ASSERT_FALSE(first.imagePath.isEmpty());
    EXPECT_EQ(QFileInfo(first.imagePath).absolutePath(), QDir::temp().absolutePath());
    EXPECT_TRUE(QFileInfo::exists(first.imagePath));

    // The same song refreshed again (an edit of the queue) is not announced again.
    model->refreshPlayerState();
    QTest::qWait(300);
    EXPECT_EQ(recorder.received.size(), 1u);

    ASSERT_NO_FATAL_FAILURE(show(songTitled(21, "Next Song")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return recorder.received.size() == 2; }, 5000));
    EXPECT_TRUE(QFileInfo::exists(recorder.received[1].imagePath));
    EXPECT_FALSE(QFileInfo::exists(first.imagePath)) << "the previous attachment is removed";
}

TEST_F(SongNotificationTest, NothingIsPostedWhileTheSettingIsOff) {
    environment->defaults().setValue(DefaultsKeys::postNotificationsWhenSongChanges, false);
    const auto skipped = logCount("Notifications are disabled, skipping notification post");
    ASSERT_NO_FATAL_FAILURE(show(songTitled(22, "Quiet Song")));
    QTest::qWait(200);
    EXPECT_TRUE(recorder.received.empty());
    EXPECT_EQ(logCount("Notifications are disabled, skipping notification post") - skipped, 1u);
}

TEST_F(SongNotificationTest, ANextSongThatCannotStartWhenTheQueueMovesOnIsToldAndNotAnnounced) {
    const std::vector<MusicKit::Song> songs{catalogSong(24), catalogSong(25)};
    ASSERT_NO_FATAL_FAILURE(playAnnounced(songs));
    const auto failures = logCount("Failed to play song: %@");
    service->injectFault(service->requestedTargets().size() + 1, DemoService::DemoFault::errorAnswer(500, 1));
    player->setPlaybackTime(*songs[0].duration - 0.4);
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->showPlayError.get(); }, 8000)) << "the play-error alert";
    EXPECT_EQ(logCount("Failed to play song: %@") - failures, 1u);
    EXPECT_EQ(player->queue().currentIndex(), 1u);
    QTest::qWait(300);
    EXPECT_EQ(recorder.received.size(), 1u) << "the song that never played is not announced";
}

TEST_F(SongNotificationTest, QuickNextsOnASlowServiceAnnounceOnlyTheSongThatStays) {
    DemoService::Testing::DelayingRelay relay(
        DemoService::Testing::DelayingRelay::portOf(service->baseURL()));
    auto configuration = service->configuration();
    configuration.apiBase = relay.baseURL();
    MusicKit::ServiceConfiguration::setCurrent(configuration);
    const std::vector<MusicKit::Song> songs{catalogSong(26), catalogSong(27), catalogSong(28),
                                            catalogSong(29)};
    ASSERT_NO_FATAL_FAILURE(playAnnounced(songs));

    relay.delay("/v1/me/playback", std::chrono::milliseconds(2500));
    for (int next = 0; next < 3; ++next) {
        (void)model->skipToNextEntry();
        QTest::qWait(300);
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return player->isPreparedToPlay(); }, 8000));
    EXPECT_EQ(player->queue().currentIndex(), 3u);
    QTest::qWait(300);
    ASSERT_EQ(recorder.received.size(), 2u);
    EXPECT_EQ(recorder.received[1].title, QString::fromStdString(songs[3].title));
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
