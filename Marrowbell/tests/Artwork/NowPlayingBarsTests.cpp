#include "Artwork/ArtworkPainting.h"
#include "Artwork/NowPlayingBars.h"

#include <QPainter>
#include <QPalette>
#include <gtest/gtest.h>

using namespace Marrowbell;

namespace {

TEST(NowPlayingBarsTest, barsSitCentredWithTheirBottomsFixedAndPulseOutOfPhase) {
    const QRectF bounds(0, 0, 32, 32);
    for (int index = 0; index < 3; ++index) {
        EXPECT_EQ(NowPlayingBars::barRect(index, bounds, 1.0), QRectF(9 + 5 * index, 10, 3, 13));
    }
    EXPECT_EQ(NowPlayingBars::barRect(0, bounds, 0.5).bottom(), 23);

    EXPECT_DOUBLE_EQ(NowPlayingBars::barScale(0, 0.0), 0.3);
    EXPECT_DOUBLE_EQ(NowPlayingBars::barScale(0, 0.4), 1.0);
    EXPECT_NEAR(NowPlayingBars::barScale(0, 0.8), 0.3, 1e-9);
    EXPECT_NEAR(NowPlayingBars::barScale(0, 0.6), 0.65, 1e-9);
    EXPECT_DOUBLE_EQ(NowPlayingBars::barScale(2, 0.3), 1.0) << "the third bar starts 0.4 s in";
    EXPECT_NEAR(NowPlayingBars::barScale(2, 0.4), 0.3, 1e-9);
}

TEST(NowPlayingBarsTest, aDelegatePaintsTheBarsOnlyForAPlayingRowThatIsNotHovered) {
    QImage picture(32, 32, QImage::Format_ARGB32);
    picture.fill(Qt::red);
    const ArtworkState loaded = ArtworkState::loaded(picture);
    const auto paintRow = [&loaded](bool hovered, bool nowPlaying, bool* paintedBars) {
        QImage row(32, 32, QImage::Format_ARGB32);
        row.fill(Qt::transparent);
        QPainter painter(&row);
        *paintedBars = paintArtworkCell(painter, QRectF(0, 0, 32, 32), loaded, ArtworkStyle::roundedRect,
                                        hovered, nowPlaying, 0.4, QPalette());
        return row;
    };
    bool paintedBars = false;
    EXPECT_EQ(paintRow(false, true, &paintedBars).pixelColor(10, 12), QColor(Qt::white));
    EXPECT_TRUE(paintedBars);
    EXPECT_NE(paintRow(true, true, &paintedBars).pixelColor(10, 12), QColor(Qt::white));
    EXPECT_FALSE(paintedBars);
    EXPECT_EQ(paintRow(false, false, &paintedBars).pixelColor(10, 12), QColor(Qt::red));
    EXPECT_FALSE(paintedBars);
}

} // namespace
