#include "Artwork/ArtworkPainting.h"
#include "Artwork/ArtworkView.h"
#include "ArtworkTestSupport.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace Marrowbell;
using namespace Qt::StringLiterals;

namespace {

class ArtworkViewTest : public ::testing::Test {
protected:
    TemporaryArtworkCache temporary;
    LocalHttpServer server{standardAnswer};
    ArtworkView view{temporary.cache, QSize(36, 36), 0, true, nullptr};
};

TEST_F(ArtworkViewTest, aSupersededLoadDoesNotPutThePreviousSongsArtworkBack) {
    QSignalSpy ready(&temporary.cache, &ArtworkImageCache::imageReady);
    server.setHolding(true);
    view.setArtwork(server.url(u"/red.png"_s), u"song-1"_s);
    ASSERT_TRUE(QTest::qWaitFor([this] { return server.requestCount() == 1; }, 10'000));

    // The next song's artwork is already in memory, so it shows at once.
    server.setHolding(false);
    ASSERT_TRUE(loadAndWait(temporary.cache, server.url(u"/blue.png"_s), u"song-2"_s)->succeeded());
    view.setArtwork(server.url(u"/blue.png"_s), u"song-2"_s);
    EXPECT_EQ(centreColor(view.state().image), QColor(Qt::blue));
    EXPECT_EQ(view.loadIdentity(), u"song-2-"_s + server.url(u"/blue.png"_s).toString());

    server.releaseHeld();
    ASSERT_TRUE(QTest::qWaitFor([&ready] { return ready.count() == 2; }, 10'000));
    QCoreApplication::processEvents();
    EXPECT_EQ(centreColor(view.state().image), QColor(Qt::blue));
}

TEST_F(ArtworkViewTest, thePreviousPictureStaysUntilTheNewLoadEndsAndAFailureShowsThePlaceholder) {
    ASSERT_TRUE(loadAndWait(temporary.cache, server.url(u"/red.png"_s), u"song-1"_s)->succeeded());
    view.setArtwork(server.url(u"/red.png"_s), u"song-1"_s);
    ASSERT_TRUE(view.state().isLoaded());

    view.setArtwork(server.url(u"/missing.png"_s), u"song-2"_s);
    EXPECT_TRUE(view.state().isLoaded());
    ASSERT_TRUE(QTest::qWaitFor([this] { return view.state().kind == ArtworkState::Kind::failed; }, 10'000));
    const QImage shown = view.grab().toImage();
    EXPECT_EQ(shown.pixelColor(18, 3), artworkBackgroundColor(view.palette()));
}

TEST_F(ArtworkViewTest, changingOnlyTheURLLoadsAgain) {
    ASSERT_TRUE(loadAndWait(temporary.cache, server.url(u"/red.png"_s), u"song-1"_s)->succeeded());
    view.setArtwork(server.url(u"/red.png"_s), u"song-1"_s);
    view.setArtwork(server.url(u"/blue.png"_s), u"song-1"_s);
    ASSERT_TRUE(
        QTest::qWaitFor([this] { return centreColor(view.state().image) == QColor(Qt::blue); }, 10'000));
}

} // namespace
