#include "../src/PlaybackEngine.h"
#include "PlayerTesting.h"

#include <DemoService/DemoServiceTest.h>
#include <MusicKit/MusicDataRequest.h>
#include <MusicKit/PlaybackAssetRequest.h>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <gtest/gtest.h>
#include <memory>

namespace MusicKit {
namespace {

using ItemKind = PlaybackAssetRequest::ItemKind;

class PlaybackAssetTest : public DemoService::Testing::DemoServiceTest<100, 9> {
protected:
    struct Answer {
        int status = 0;
        QByteArray contentRange;
        QByteArray body;
    };

    Answer get(const Foundation::URL& url, const QByteArray& range = {}) {
        QNetworkRequest request(QUrl(QString::fromStdString(url.absoluteString())));
        if (!range.isEmpty()) {
            request.setRawHeader("Range", "bytes=" + range);
        }
        std::unique_ptr<QNetworkReply> reply(network.get(request));
        EXPECT_TRUE(QTest::qWaitFor([&] { return reply->isFinished(); }, 5000));
        return {reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
                reply->rawHeader("Content-Range"), reply->readAll()};
    }

    static PlaybackAsset songAsset(const std::string& id) {
        return PlaybackAssetRequest(ItemKind::song, MusicItemID(id)).response().front();
    }

    QNetworkAccessManager network;
};

TEST_F(PlaybackAssetTest, AudioLastsTheSongAndIsServedInRanges) {
    const auto& song = library().catalogSongs[4];
    const auto asset = songAsset(song.id);
    EXPECT_EQ(asset.song.id.rawValue(), song.id);
    const std::int64_t size = 44 + song.durationInMillis * 16000 / 1000 * 2;

    const auto head = get(asset.assetURL, "0-43");
    EXPECT_EQ(head.status, 206);
    EXPECT_EQ(head.contentRange, "bytes 0-43/" + QByteArray::number(size));
    EXPECT_TRUE(head.body.startsWith("RIFF"));

    const auto tail = get(asset.assetURL, QByteArray::number(size - 100) + "-");
    EXPECT_EQ(tail.status, 206);
    EXPECT_EQ(tail.body.size(), 100);

    // Another song sounds different at the same place.
    const auto other = get(songAsset(library().catalogSongs[5].id).assetURL, "1000-1999");
    EXPECT_NE(get(asset.assetURL, "1000-1999").body, other.body);

    auto forged = Foundation::URL::fromString(asset.assetURL.absoluteString() + "0");
    EXPECT_EQ(get(*forged).status, 403);
}

TEST_F(PlaybackAssetTest, ContainersGiveTheirSongsAndUnknownItemsAreNotFound) {
    const auto& album = library().albums[0];
    const auto songs = PlaybackAssetRequest(ItemKind::album, MusicItemID(album.id)).response();
    ASSERT_EQ(songs.size(), album.songs.size());
    EXPECT_EQ(songs.front().song.id.rawValue(),
              library().catalogSongs[library().songs[album.songs[0]].catalogSong].id);

    const auto librarySong =
        PlaybackAssetRequest(ItemKind::song, MusicItemID(library().songs[3].id)).response();
    EXPECT_EQ(librarySong.front().song.id.rawValue(),
              library().catalogSongs[library().songs[3].catalogSong].id);

    try {
        PlaybackAssetRequest(ItemKind::playlist, MusicItemID("pl.none")).response();
        ADD_FAILURE() << "an unknown playlist has nothing to play";
    } catch (const MusicDataRequest::Error& error) {
        EXPECT_EQ(error.status(), 404);
        EXPECT_EQ(error.code(), 40400);
    }
}

TEST_F(PlaybackAssetTest, AudioThatDoesNotDecodeFailsToLoad) {
    PlaybackEngine engine;
    std::optional<std::optional<QString>> outcome;
    const auto picture = QString::fromStdString(service->baseURL() + "/artwork/1/8x8.png");
    engine.load(QUrl(picture), [&](std::optional<QString> failure) { outcome = failure; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return outcome.has_value(); }, 10000));
    EXPECT_TRUE(outcome->has_value());
    EXPECT_FALSE(engine.isLoaded());
}

} // namespace
} // namespace MusicKit
