#include "ArtworkTestSupport.h"
#include "Model/NetworkArtworkLoader.h"
#include "Platform/GuiDelivery.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>

using namespace Marrowbell;
using namespace Qt::StringLiterals;

namespace {

struct PlayerArtworkOutcome {
    bool finished = false;
    QImage image;
    std::string failure;
};

PlayerArtworkOutcome loadPlayerArtwork(NetworkArtworkLoader& loader, const QUrl& url, const QString& key) {
    PlayerArtworkOutcome outcome;
    QObject context;
    whenFinished(loader.image(MusicKit::Artwork(url.toString().toStdString()), key), &context,
                 [&outcome](QFuture<QImage> done) {
                     try {
                         outcome.image = done.result();
                     } catch (const ArtworkLoadError& error) {
                         outcome.failure = error.what();
                     }
                     outcome.finished = true;
                 });
    // An answer that never comes leaves `finished` false, which the test reports.
    (void)QTest::qWaitFor([&outcome] { return outcome.finished; }, 10'000);
    return outcome;
}

// A picture sent with an error status, as some servers send their placeholder.
LocalHttpServer::Answer answerWithPictureOn404(const QByteArray& path) {
    if (path == "/gone-with-picture.png") {
        return {404, "image/png", solidPNG(Qt::green, {64, 64})};
    }
    return standardAnswer(path);
}

TEST(NetworkArtworkLoaderTest, thePlayersArtworkIsTakenOnlyFromImageAnswersWithinTheSizeLimit) {
    LocalHttpServer server(answerWithPictureOn404);
    QTemporaryDir folder;
    NetworkArtworkLoader loader(folder.path());

    for (const QString& path : {u"/gone-with-picture.png"_s, u"/text.png"_s, u"/huge-unannounced.png"_s}) {
        SCOPED_TRACE(path.toStdString());
        const QString key = u"song-"_s + path;
        const PlayerArtworkOutcome refused = loadPlayerArtwork(loader, server.url(path), key);
        ASSERT_TRUE(refused.finished);
        EXPECT_TRUE(refused.image.isNull());
        EXPECT_FALSE(refused.failure.empty());
        EXPECT_FALSE(QFile::exists(loader.filePath(key)));
    }

    const PlayerArtworkOutcome loaded = loadPlayerArtwork(loader, server.url(u"/red.png"_s), u"song-red"_s);
    ASSERT_TRUE(loaded.finished);
    EXPECT_EQ(loaded.failure, "");
    EXPECT_EQ(loaded.image.size(), QSize(64, 32));
    EXPECT_EQ(centreColor(loaded.image), QColor(Qt::red));
    EXPECT_TRUE(QFile::exists(loader.filePath(u"song-red"_s)));
}

} // namespace
