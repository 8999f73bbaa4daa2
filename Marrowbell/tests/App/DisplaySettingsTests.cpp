#include "App/DisplaySettings.h"
#include "Platform/DefaultsKeys.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace Marrowbell {
namespace {

class DisplaySettingsTests : public testing::Test {
protected:
    QTemporaryDir directory_;
    Defaults defaults_{directory_.filePath(QStringLiteral("Marrowbell.conf"))};
};

TEST_F(DisplaySettingsTests, RegisteredAppearanceApplyUntilTheUserStoresValues) {
    DisplaySettings::registerDefaults(defaults_);
    EXPECT_TRUE(DisplaySettings::showSubtitles(defaults_));
    EXPECT_EQ(DisplaySettings::padding(defaults_), 2);
    EXPECT_EQ(DisplaySettings::fontWeight(defaults_), 2);
    EXPECT_EQ(DisplaySettings::artworkSize(defaults_), 32.0);
    EXPECT_FALSE(DisplaySettings::limitTitlesToOneLine(defaults_));
    EXPECT_FALSE(DisplaySettings::useAlternatingRowColors(defaults_));

    defaults_.setValue(DefaultsKeys::showSubtitles, false);
    defaults_.setValue(DefaultsKeys::padding, 0);
    EXPECT_FALSE(DisplaySettings::showSubtitles(defaults_));
    EXPECT_EQ(DisplaySettings::padding(defaults_), 0);
}

TEST_F(DisplaySettingsTests, NothingStoredOrRegisteredReadsZeroAndFalse) {
    EXPECT_EQ(DisplaySettings::artworkSize(defaults_), 0.0);
    EXPECT_EQ(DisplaySettings::fontWeight(defaults_), 0);
    EXPECT_EQ(DisplaySettings::padding(defaults_), 0);
    EXPECT_FALSE(DisplaySettings::showSubtitles(defaults_));
}

TEST_F(DisplaySettingsTests, OutOfRangeWeightsAndPaddingsReadAsTheLargeDefault) {
    const std::pair<int, int> weights[] = {{7, 2}, {-1, 2}, {3, 3}, {0, 0}};
    for (const auto& [stored, read] : weights) {
        defaults_.setValue(DefaultsKeys::fontWeight, stored);
        EXPECT_EQ(DisplaySettings::fontWeight(defaults_), read) << stored;
    }
    const std::pair<int, int> paddings[] = {{2, 2}, {5, 2}, {-1, 2}, {0, 0}, {1, 1}};
    for (const auto& [stored, read] : paddings) {
        defaults_.setValue(DefaultsKeys::padding, stored);
        EXPECT_EQ(DisplaySettings::padding(defaults_), read) << stored;
    }
}

TEST_F(DisplaySettingsTests, ArtworkSizeRoundsHalvesAwayFromZero) {
    const std::pair<QVariant, double> sizes[] = {{31.5, 32.0}, {31.4, 31.0}, {32, 32.0}, {-2.5, -3.0}};
    for (const auto& [stored, read] : sizes) {
        defaults_.setValue(DefaultsKeys::artworkSize, stored);
        EXPECT_EQ(DisplaySettings::artworkSize(defaults_), read) << stored.toString().toStdString();
    }
}

} // namespace
} // namespace Marrowbell
