#include "Artwork/ArtworkLayerView.h"
#include "Artwork/NowPlayingIndicator.h"
#include "ArtworkTestSupport.h"

#include <QApplication>
#include <QEnterEvent>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace Marrowbell;
using namespace Qt::StringLiterals;

namespace {

using Request = ArtworkLayerView::PlayPauseRequest;

// Stands for the table row under the artwork: it receives the clicks that the artwork passes on.
class RecordingRow : public QWidget {
public:
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent*) override { ++presses; }
};

class ArtworkLayerViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        view = new ArtworkLayerView(temporary.cache, &row);
        view->setGeometry(60, 4, 32, 32);
        view->setPlayPauseHandler([this](Request request) { requests.push_back(request); });
        row.setGeometry(300, 300, 200, 40);
        row.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&row));
    }

    void hover(bool inside) {
        if (inside) {
            QEnterEvent enter(QPointF(5, 5), QPointF(65, 9), view->mapToGlobal(QPointF(5, 5)));
            QApplication::sendEvent(view, &enter);
        } else {
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(view, &leave);
        }
    }

    void click() { QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(16, 16)); }

    void showRedArtwork() {
        ASSERT_TRUE(loadAndWait(temporary.cache, server.url(u"/red.png"_s), u"song-red"_s)->succeeded());
        view->setArtwork(server.url(u"/red.png"_s), u"song-red"_s);
        ASSERT_TRUE(view->state().isLoaded()) << "a picture in memory shows at once";
    }

    QColor shownColorAwayFromTheGlyph() { return view->grab().toImage().pixelColor(16, 3); }

    TemporaryArtworkCache temporary;
    LocalHttpServer server{standardAnswer};
    RecordingRow row;
    ArtworkLayerView* view = nullptr;
    std::vector<Request> requests;
};

TEST_F(ArtworkLayerViewTest, hoverShowsPlayOrPauseAndAClickOnItPlaysOrPauses) {
    showRedArtwork();
    EXPECT_FALSE(view->isShowingOverlay());
    EXPECT_EQ(shownColorAwayFromTheGlyph(), QColor(Qt::red));
    click();
    EXPECT_TRUE(requests.empty());
    EXPECT_EQ(row.presses, 1) << "without the button a click belongs to the row";

    hover(true);
    EXPECT_TRUE(view->isShowingOverlay());
    EXPECT_LT(shownColorAwayFromTheGlyph().red(), 160) << "the button darkens the artwork";
    click();
    ASSERT_EQ(requests, std::vector{Request::play});

    view->setShowNowPlayingIndicator(true);
    EXPECT_FALSE(view->nowPlayingIndicator().isVisible()) << "the button takes the place of the bars";
    click();
    EXPECT_EQ(requests, (std::vector{Request::play, Request::pause}));
    EXPECT_EQ(row.presses, 1);

    hover(false);
    EXPECT_FALSE(view->isShowingOverlay());
    EXPECT_TRUE(view->nowPlayingIndicator().isVisible());
    click();
    EXPECT_EQ(row.presses, 2);
}

TEST_F(ArtworkLayerViewTest, withoutTheHoverButtonEnteringChangesNothingAndClicksGoToTheRow) {
    showRedArtwork();
    view->setShowPlayButtonOnHover(false);
    hover(true);
    EXPECT_FALSE(view->isShowingOverlay());
    click();
    EXPECT_TRUE(requests.empty());
    EXPECT_EQ(row.presses, 1);
}

TEST_F(ArtworkLayerViewTest, aSupersededLoadDoesNotReplaceTheCurrentImage) {
    QSignalSpy ready(&temporary.cache, &ArtworkImageCache::imageReady);
    server.setHolding(true);
    view->setArtwork(server.url(u"/red.png"_s), u"song-previous"_s);
    EXPECT_EQ(view->state().kind, ArtworkState::Kind::unknown);
    ASSERT_TRUE(QTest::qWaitFor([this] { return server.requestCount() == 1; }, 10'000));

    view->setArtwork(server.url(u"/blue.png"_s), u"song-current"_s);
    ASSERT_TRUE(QTest::qWaitFor([this] { return server.requestCount() == 2; }, 10'000));
    server.releaseHeld("/blue.png");
    ASSERT_TRUE(QTest::qWaitFor([this] { return view->state().isLoaded(); }, 10'000));
    EXPECT_EQ(centreColor(view->state().image), QColor(Qt::blue));

    server.releaseHeld("/red.png");
    ASSERT_TRUE(QTest::qWaitFor([&ready] { return ready.count() == 2; }, 10'000));
    QCoreApplication::processEvents();
    EXPECT_EQ(centreColor(view->state().image), QColor(Qt::blue));
    EXPECT_EQ(view->artworkUniqueID(), u"song-current"_s);
}

TEST_F(ArtworkLayerViewTest, theSameArtworkAgainKeepsTheRunningLoad) {
    server.setHolding(true);
    view->setArtwork(server.url(u"/red.png"_s), u"song-red"_s);
    view->setArtwork(server.url(u"/red.png"_s), u"song-red"_s);
    ASSERT_TRUE(QTest::qWaitFor([this] { return server.requestCount() == 1; }, 10'000));
    server.releaseHeld();
    ASSERT_TRUE(QTest::qWaitFor([this] { return view->state().isLoaded(); }, 10'000));
    EXPECT_EQ(server.requestCount(), 1);
}

TEST_F(ArtworkLayerViewTest, aFailedOrImpossibleLoadShowsThePlaceholder) {
    view->setArtwork(QUrl(), u"song-without-artwork"_s);
    EXPECT_EQ(view->state().kind, ArtworkState::Kind::failed) << "no URL: the placeholder at once";

    view->setArtwork(server.url(u"/missing.png"_s), u"song-missing"_s);
    EXPECT_EQ(view->state().kind, ArtworkState::Kind::unknown);
    ASSERT_TRUE(QTest::qWaitFor([this] { return view->state().kind == ArtworkState::Kind::failed; }, 10'000));
    EXPECT_EQ(shownColorAwayFromTheGlyph(), artworkBackgroundColor(view->palette()));
}

TEST_F(ArtworkLayerViewTest, theArtistStyleIsACircle) {
    showRedArtwork();
    view->setStyle(ArtworkStyle::circular);
    const QImage shown = view->grab().toImage();
    EXPECT_EQ(shown.pixelColor(16, 16), QColor(Qt::red));
    EXPECT_NE(shown.pixelColor(1, 1), QColor(Qt::red)) << "the corners are outside the circle";
}

} // namespace
