#include "Player/PlaybackTimeView.h"
#include "Player/PlayerBar.h"
#include "Player/PlayerButton.h"
#include "PlayerFixture.h"

namespace Marrowbell::Testing {
namespace {

TEST(PlayerBarPlacement, NarrowerThanTheHostWithinLimitsCentredOnTheBottomEdge) {
    EXPECT_EQ(PlayerBar::frameIn({400, 300}), QRect(12, 240, 376, 60));
    EXPECT_EQ(PlayerBar::frameIn({600, 300}), QRect(72, 240, 456, 60));
    EXPECT_EQ(PlayerBar::frameIn({1000, 500}), QRect(192, 440, 616, 60));
    EXPECT_EQ(PlayerBar::frameIn({520, 300}).width(), 376);
    EXPECT_EQ(PlayerBar::frameIn({760, 300}).width(), 616);
    EXPECT_EQ(PlayerBar::frameIn({100, 30}).width(), 376) << "never narrower than its content";
}

TEST(TimeBarGeometry, FillAndSeekStayWithinTheTrackAndIgnoreWhatCannotSeek) {
    EXPECT_EQ(PlaybackTimeView::fillWidth(200, 30, 120), 50);
    EXPECT_EQ(PlaybackTimeView::fillWidth(200, 120, 120), 200);
    EXPECT_EQ(PlaybackTimeView::fillWidth(200, 500, 120), 200) << "a position past the end fills the track";
    EXPECT_EQ(PlaybackTimeView::fillWidth(200, -3, 120), 0);
    EXPECT_EQ(PlaybackTimeView::fillWidth(200, 30, 0), 0) << "no duration";
    EXPECT_EQ(PlaybackTimeView::fillWidth(0, 30, 120), 0);

    EXPECT_EQ(PlaybackTimeView::seekTime(0, 200, 120), 0.0);
    EXPECT_EQ(PlaybackTimeView::seekTime(50, 200, 120), 30.0);
    EXPECT_EQ(PlaybackTimeView::seekTime(200, 200, 120), 120.0);
    EXPECT_EQ(PlaybackTimeView::seekTime(230, 200, 120), 120.0);
    EXPECT_EQ(PlaybackTimeView::seekTime(-5, 200, 120), 0.0);
    EXPECT_FALSE(PlaybackTimeView::seekTime(50, 200, 0)) << "a station has no time to seek to";
    EXPECT_FALSE(PlaybackTimeView::seekTime(50, 0, 120)) << "no width, no division by zero";
}

using PlayerBarAttachTest = ModelPlaybackTest;

TEST_F(PlayerBarAttachTest, AttachesOnTheHostsFirstShowAndRecentresOnResizeWithoutTakingFocusOnClicks) {
    QWidget host;
    host.resize(600, 400);
    auto* bar = new PlayerBar(*model, *player, &host);
    EXPECT_FALSE(bar->isAttached()) << "the host has no window yet";
    EXPECT_FALSE(bar->isVisibleTo(&host));

    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    EXPECT_TRUE(bar->isAttached());
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->geometry(), QRect(72, 340, 456, 60));

    host.resize(1000, 500);
    EXPECT_EQ(bar->geometry(), QRect(192, 440, 616, 60));
    host.resize(400, 300);
    EXPECT_EQ(bar->geometry(), QRect(12, 240, 376, 60));

    host.hide();
    host.show();
    EXPECT_EQ(bar->geometry(), QRect(12, 240, 376, 60)) << "attached once";

    // Tab reaches the buttons; a click leaves the focus in the list.
    for (QWidget* child : bar->findChildren<QWidget*>()) {
        EXPECT_EQ(child->focusPolicy(), qobject_cast<PlayerButton*>(child) ? Qt::TabFocus : Qt::NoFocus)
            << child->metaObject()->className();
    }
}

} // namespace
} // namespace Marrowbell::Testing
