#include "ArtworkTestSupport.h"

#include <DemoService/DemoServiceTest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSignalSpy>
#include <map>

using namespace Marrowbell;
using namespace Qt::StringLiterals;

namespace {

class ArtworkImageCacheTest : public DemoService::Testing::DemoServiceTest<20, 14> {
protected:
    QUrl demoArtworkURL(const QString& id, int side) const {
        return QUrl(QString::fromStdString(service->baseURL()) +
                    u"/artwork/%1/%2x%2.png"_s.arg(id).arg(side));
    }

    TemporaryArtworkCache temporary;
    ArtworkImageCache& cache = temporary.cache;
    LocalHttpServer server{standardAnswer};
};

TEST_F(ArtworkImageCacheTest, aDownloadIsThumbnailedStoredOnDiskAndServedFromMemoryThenFromDisk) {
    const QUrl url = demoArtworkURL(u"a.1"_s, 600);
    ASSERT_FALSE(cache.cachedImage(u"album-a.1"_s, url));

    const auto result = loadAndWait(cache, url, u"album-a.1"_s);
    ASSERT_TRUE(result && result->succeeded()) << (result ? result->detail.toStdString() : "no answer");
    EXPECT_EQ(result->image.size(), QSize(64, 64));

    const QFileInfo file(cache.filePath(u"album-a.1"_s));
    EXPECT_TRUE(file.exists());
    EXPECT_EQ(file.fileName().size(), 68);
    EXPECT_TRUE(QRegularExpression(u"^[0-9a-f]{64}\\.png$"_s).match(file.fileName()).hasMatch());
    EXPECT_EQ(file.dir().path(), QDir(temporary.folder.path()).path());
    EXPECT_EQ(cache.cachedImage(u"album-a.1"_s, url), result->image);
    EXPECT_EQ(cache.loadsInFlight(), 0);

    // A new process finds the file (that nothing is fetched then is shown with the counting server below).
    ArtworkImageCache restarted(temporary.folder.path());
    EXPECT_FALSE(restarted.cachedImage(u"album-a.1"_s, url)) << "the memory tier starts empty";
    const auto fromDisk = loadAndWait(restarted, url, u"album-a.1"_s);
    ASSERT_TRUE(fromDisk && fromDisk->succeeded());
    EXPECT_EQ(fromDisk->image.size(), QSize(64, 64));
    EXPECT_TRUE(restarted.cachedImage(u"album-a.1"_s, url)) << "a disk hit is promoted into memory";
}

TEST_F(ArtworkImageCacheTest, oneDownloadServesThreeWaitersAndTheirSignals) {
    server.setHolding(true);
    const QUrl url = server.url(u"/red.png"_s);
    QSignalSpy ready(&cache, &ArtworkImageCache::imageReady);
    std::vector<QImage> answers;
    QObject context;
    for (int waiter = 0; waiter < 3; ++waiter) {
        cache.loadImage(url, u"song-7"_s, &context,
                        [&answers](const ArtworkLoadResult& result) { answers.push_back(result.image); });
    }
    ASSERT_TRUE(QTest::qWaitFor([this] { return server.requestCount() == 1; }, 10'000));
    EXPECT_EQ(cache.loadsInFlight(), 1);
    server.releaseHeld();
    ASSERT_TRUE(QTest::qWaitFor([&answers] { return answers.size() == 3; }, 10'000));

    for (const QImage& image : answers) {
        EXPECT_EQ(image.size(), QSize(64, 32));
        EXPECT_EQ(centreColor(image), QColor(Qt::red));
    }
    EXPECT_EQ(server.requestCount(), 1);
    EXPECT_EQ(ready.count(), 1);
    EXPECT_EQ(cache.loadsInFlight(), 0);
}

TEST_F(ArtworkImageCacheTest, theSongsOfOneAlbumWaitForOneDownloadAndEachKeepsThePicture) {
    const QUrl url = demoArtworkURL(u"l.shared"_s, 64);
    constexpr int songs = 7;
    int answered = 0;
    QObject context;
    for (int song = 0; song < songs; ++song) {
        cache.loadImage(url, u"song-%1"_s.arg(song), &context, [&answered](const ArtworkLoadResult& result) {
            EXPECT_TRUE(result.succeeded()) << result.detail.toStdString();
            ++answered;
        });
    }
    ASSERT_TRUE(QTest::qWaitFor([&answered] { return answered == songs; }, 10'000));
    EXPECT_EQ(service->requestedArtwork(), std::vector<std::string>{url.path().toStdString()});
    for (int song = 0; song < songs; ++song) {
        const QString key = u"song-%1"_s.arg(song);
        EXPECT_TRUE(cache.cachedImage(key, url)) << song;
        EXPECT_TRUE(QFile::exists(cache.filePath(key))) << song;
    }

    // Shown again (a row scrolled back into view), they are all found without another request.
    for (int song = 0; song < songs; ++song) {
        ASSERT_TRUE(loadAndWait(cache, url, u"song-%1"_s.arg(song))->succeeded());
    }
    EXPECT_EQ(service->requestedArtwork().size(), 1u);
    EXPECT_EQ(cache.loadsInFlight(), 0);
}

TEST_F(ArtworkImageCacheTest, aBurstOfLoadsKeepsFewDownloadsRunningAndFetchesTheNewestFirst) {
    LocalHttpServer pictures([](const QByteArray&) {
        return LocalHttpServer::Answer{200, "image/png", solidPNG(Qt::red, {80, 80})};
    });
    pictures.setHolding(true);
    constexpr int loads = 10;
    constexpr int bound = ArtworkImageCache::maximumDownloadsInFlight;
    static_assert(loads > 2 * bound);
    int succeeded = 0;
    QObject context;
    for (int index = 0; index < loads; ++index) {
        cache.loadImage(pictures.url(u"/%1.png"_s.arg(index)), u"album-%1"_s.arg(index), &context,
                        [&succeeded](const ArtworkLoadResult& result) { succeeded += result.succeeded(); });
    }
    ASSERT_TRUE(QTest::qWaitFor([&pictures] { return pictures.requestCount() == bound; }, 10'000));
    QTest::qWait(300);
    EXPECT_EQ(pictures.requestCount(), bound) << "the network layer alone would open more connections";
    EXPECT_EQ(cache.loadsInFlight(), loads);

    pictures.releaseHeld();
    ASSERT_TRUE(QTest::qWaitFor([&pictures] { return pictures.requestCount() == 2 * bound; }, 10'000));
    QTest::qWait(100);
    EXPECT_EQ(pictures.requestCount(), 2 * bound);
    EXPECT_EQ(pictures.requestCount("/9.png"), 1) << "the last one asked for goes next";
    EXPECT_EQ(pictures.requestCount("/4.png"), 0);

    pictures.setHolding(false);
    pictures.releaseHeld();
    ASSERT_TRUE(QTest::qWaitFor([&succeeded] { return succeeded == loads; }, 10'000));
    EXPECT_EQ(pictures.requestCount(), loads);
    EXPECT_EQ(cache.loadsInFlight(), 0);
    for (int index = 0; index < loads; ++index) {
        EXPECT_TRUE(cache.cachedImage(u"album-%1"_s.arg(index)));
    }
}

TEST_F(ArtworkImageCacheTest, manyDiskLookupsAskedForTogetherEachAnswerWithTheirOwnPicture) {
    constexpr int stored = 70;
    auto colorOf = [](int index) { return index % 3 == 0 ? QColor(Qt::blue) : QColor(Qt::red); };
    for (int index = 0; index < stored; ++index) {
        const QUrl url = server.url(colorOf(index) == QColor(Qt::blue) ? u"/blue.png"_s : u"/red.png"_s);
        ASSERT_TRUE(loadAndWait(cache, url, u"song-%1"_s.arg(index))->succeeded());
    }

    ArtworkImageCache restarted(temporary.folder.path());
    std::map<int, ArtworkLoadResult> answers;
    QObject context;
    for (int index = 0; index <= stored; ++index) {
        restarted.loadImage(QUrl(), u"song-%1"_s.arg(index), &context,
                            [&answers, index](const ArtworkLoadResult& result) { answers[index] = result; });
    }
    ASSERT_TRUE(QTest::qWaitFor([&answers] { return answers.size() == stored + 1; }, 10'000));
    for (int index = 0; index < stored; ++index) {
        ASSERT_TRUE(answers[index].succeeded()) << index;
        EXPECT_EQ(centreColor(answers[index].image), colorOf(index)) << index;
    }
    EXPECT_EQ(answers[stored].error, ArtworkLoadFailure::noArtworkURL);
    EXPECT_EQ(restarted.loadsInFlight(), 0);
}

TEST_F(ArtworkImageCacheTest, refusedAnswersLeaveNothingBehindAndAreAskedForAgain) {
    const struct {
        const char16_t* path;
        ArtworkLoadFailure failure;
    } cases[] = {
        {u"/missing.png", ArtworkLoadFailure::httpStatus},
        {u"/text.png", ArtworkLoadFailure::notAnImage},
        {u"/huge.png", ArtworkLoadFailure::bodyTooLarge},
        {u"/huge-unannounced.png", ArtworkLoadFailure::bodyTooLarge},
        {u"/garbage.png", ArtworkLoadFailure::invalidImage},
    };
    for (const auto& refused : cases) {
        const QString path = QString::fromUtf16(refused.path);
        SCOPED_TRACE(path.toStdString());
        const QUrl url = server.url(path);
        const QString key = u"song-"_s + path;
        for (int attempt = 1; attempt <= 2; ++attempt) {
            const auto result = loadAndWait(cache, url, key);
            ASSERT_TRUE(result);
            EXPECT_EQ(result->error, refused.failure) << result->detail.toStdString();
            EXPECT_TRUE(result->image.isNull());
            EXPECT_FALSE(cache.cachedImage(key));
            EXPECT_FALSE(QFile::exists(cache.filePath(key)));
            EXPECT_EQ(server.requestCount(path.toUtf8()), attempt);
        }
    }
    EXPECT_EQ(QDir(temporary.folder.path()).entryList(QDir::Files), QStringList());
}

TEST_F(ArtworkImageCacheTest, anItemWhoseArtworkURLChangesGetsTheNewPicture) {
    const QUrl red = server.url(u"/red.png"_s);
    const QUrl blue = server.url(u"/blue.png"_s);
    ASSERT_EQ(centreColor(loadAndWait(cache, red, u"playlist-p"_s)->image), QColor(Qt::red));

    const auto changed = loadAndWait(cache, blue, u"playlist-p"_s);
    ASSERT_TRUE(changed && changed->succeeded());
    EXPECT_EQ(centreColor(changed->image), QColor(Qt::blue));
    EXPECT_FALSE(cache.cachedImage(u"playlist-p"_s, red));
    EXPECT_EQ(centreColor(*cache.cachedImage(u"playlist-p"_s, blue)), QColor(Qt::blue));

    // The one file of the key now holds the new picture; asked for the old URL it is a miss.
    ArtworkImageCache restarted(temporary.folder.path());
    EXPECT_EQ(centreColor(loadAndWait(restarted, blue, u"playlist-p"_s)->image), QColor(Qt::blue));
    EXPECT_EQ(server.requestCount("/blue.png"), 1);
    EXPECT_EQ(centreColor(loadAndWait(restarted, red, u"playlist-p"_s)->image), QColor(Qt::red));
    EXPECT_EQ(server.requestCount("/red.png"), 2);
}

TEST_F(ArtworkImageCacheTest, withoutAURLOnlyTheCachedPictureOfTheKeyIsFound) {
    const auto missing = loadAndWait(cache, QUrl(), u"song-none"_s);
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->error, ArtworkLoadFailure::noArtworkURL);

    ASSERT_TRUE(loadAndWait(cache, server.url(u"/red.png"_s), u"song-1"_s)->succeeded());
    EXPECT_TRUE(cache.cachedImage(u"song-1"_s));
    ArtworkImageCache restarted(temporary.folder.path());
    const auto fromDisk = loadAndWait(restarted, QUrl(), u"song-1"_s);
    ASSERT_TRUE(fromDisk && fromDisk->succeeded());
    EXPECT_EQ(centreColor(fromDisk->image), QColor(Qt::red));
}

TEST_F(ArtworkImageCacheTest, aDamagedFileIsAMissThatTheDownloadReplaces) {
    QFile damaged(cache.filePath(u"album-d"_s));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("\x89PNG broken");
    damaged.close();

    const auto result = loadAndWait(cache, server.url(u"/blue.png"_s), u"album-d"_s);
    ASSERT_TRUE(result && result->succeeded());
    EXPECT_EQ(server.requestCount(), 1);
    ArtworkImageCache restarted(temporary.folder.path());
    EXPECT_EQ(centreColor(loadAndWait(restarted, QUrl(), u"album-d"_s)->image), QColor(Qt::blue));
}

TEST_F(ArtworkImageCacheTest, theMemoryTierKeepsToItsCostLimit) {
    QTemporaryDir folder;
    // Room for one 64 by 32 thumbnail (8 KiB) and not for two.
    ArtworkImageCache small(folder.path(), 12 * 1024);
    ASSERT_TRUE(loadAndWait(small, server.url(u"/red.png"_s), u"song-r"_s)->succeeded());
    ASSERT_TRUE(loadAndWait(small, server.url(u"/blue.png"_s), u"song-b"_s)->succeeded());
    EXPECT_FALSE(small.cachedImage(u"song-r"_s));
    EXPECT_TRUE(small.cachedImage(u"song-b"_s));
}

} // namespace
