#include "App/DisplaySettings.h"
#include "Platform/AppNotifications.h"
#include "Platform/Defaults.h"
#include "Platform/DefaultsKeys.h"
#include "RecordedSignals.h"
#include "Settings/AppearanceSettingsPane.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace Marrowbell {
namespace {

using Testing::RecordedSignal;
using Testing::recordedSignals;

RecordedSignal expected(std::string type, std::string parameter, std::string value) {
    return {std::move(type), {{std::move(parameter), std::move(value)}}};
}

class AppearanceSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        DisplaySettings::registerDefaults(defaults);
        pane = std::make_unique<AppearanceSettingsPane>(defaults, notifications);
        pane->show();
        recordedSignals->takeSent();
    }

    /// Runs `change` and returns the signals it sent; expects exactly `reloads` "reloadAppearance".
    std::vector<RecordedSignal> sentBy(const std::function<void()>& change, int reloads) {
        QSignalSpy reloaded(&notifications, &AppNotifications::reloadAppearance);
        change();
        EXPECT_EQ(reloaded.count(), reloads);
        return recordedSignals->takeSent();
    }

    QTemporaryDir folder;
    Defaults defaults{folder.filePath(QStringLiteral("settings.conf"))};
    AppNotifications notifications;
    std::unique_ptr<AppearanceSettingsPane> pane;
};

TEST_F(AppearanceSettingsTest, EachControlWritesItsKeySendsItsSignalAndAnnouncesOnce) {
    EXPECT_EQ(sentBy([&] { QTest::keyClick(pane->fontWeightPicker(), Qt::Key_Down); }, 1),
              std::vector{expected("change_font_weight", "weight", "3")});
    EXPECT_EQ(defaults.integerValue(DefaultsKeys::fontWeight), 3);

    EXPECT_EQ(sentBy([&] { QTest::keyClick(pane->paddingPicker(), Qt::Key_Up); }, 1),
              std::vector{expected("change_padding", "padding", "1")});
    EXPECT_EQ(defaults.integerValue(DefaultsKeys::padding), 1);

    EXPECT_EQ(sentBy([&] { QTest::keyClick(pane->artworkSizeSlider(), Qt::Key_Left); }, 1),
              std::vector{expected("change_artwork_size", "size", "31")});
    EXPECT_EQ(defaults.doubleValue(DefaultsKeys::artworkSize), 31.0);

    EXPECT_EQ(sentBy([&] { pane->limitTitlesToOneLineToggle()->click(); }, 1),
              std::vector{expected("change_limit_titles_to_one_line", "enabled", "true")});
    EXPECT_TRUE(defaults.boolValue(DefaultsKeys::limitTitlesToOneLine));

    EXPECT_EQ(sentBy([&] { pane->showSubtitlesToggle()->click(); }, 1),
              std::vector{expected("change_show_subtitles", "enabled", "false")});
    EXPECT_FALSE(defaults.boolValue(DefaultsKeys::showSubtitles));

    EXPECT_EQ(sentBy([&] { pane->useAlternatingRowColorsToggle()->click(); }, 1),
              std::vector{expected("change_use_alternating_row_colors", "enabled", "true")});
    EXPECT_TRUE(defaults.boolValue(DefaultsKeys::useAlternatingRowColors));
}

TEST_F(AppearanceSettingsTest, WritingTheValueAlreadyShownSendsNothing) {
    EXPECT_TRUE(sentBy(
                    [&] {
                        defaults.setValue(DefaultsKeys::fontWeight, 2);
                        defaults.setValue(DefaultsKeys::padding, 2);
                        defaults.setValue(DefaultsKeys::showSubtitles, true);
                    },
                    0)
                    .empty());
}

TEST_F(AppearanceSettingsTest,
       TheArtworkSizeCountsOnlyWhenItsRoundedValueChangesAndReportsTheStoredSizeWithoutItsFraction) {
    EXPECT_EQ(sentBy([&] { defaults.setValue(DefaultsKeys::artworkSize, 28.0); }, 1),
              std::vector{expected("change_artwork_size", "size", "28")});
    EXPECT_TRUE(sentBy([&] { defaults.setValue(DefaultsKeys::artworkSize, 28.4); }, 0).empty());
    EXPECT_EQ(sentBy([&] { defaults.setValue(DefaultsKeys::artworkSize, 28.5); }, 1),
              std::vector{expected("change_artwork_size", "size", "28")})
        << "the rounded size changed, the stored one is reported without its fraction";
    EXPECT_EQ(pane->artworkSizeSlider()->value(), 29);
}

TEST_F(AppearanceSettingsTest, RestoreDefaultsWritesTheRegisteredValuesAndAnnouncesEachChangeOnce) {
    defaults.setValue(DefaultsKeys::showSubtitles, false);
    recordedSignals->takeSent();
    EXPECT_EQ(sentBy([&] { pane->restoreDefaultsButton()->click(); }, 1),
              std::vector{expected("change_show_subtitles", "enabled", "true")});
    EXPECT_TRUE(sentBy([&] { pane->restoreDefaultsButton()->click(); }, 0).empty());

    defaults.setValue(DefaultsKeys::artworkSize, 24.0);
    defaults.setValue(DefaultsKeys::fontWeight, 0);
    defaults.setValue(DefaultsKeys::padding, 0);
    defaults.setValue(DefaultsKeys::limitTitlesToOneLine, true);
    defaults.setValue(DefaultsKeys::useAlternatingRowColors, true);
    recordedSignals->takeSent();
    EXPECT_EQ(sentBy([&] { pane->restoreDefaults(); }, 5),
              (std::vector{expected("change_artwork_size", "size", "32"),
                           expected("change_font_weight", "weight", "2"),
                           expected("change_padding", "padding", "2"),
                           expected("change_limit_titles_to_one_line", "enabled", "false"),
                           expected("change_use_alternating_row_colors", "enabled", "false")}));

    // What the lists read afterwards is what they read with nothing stored.
    QTemporaryDir otherFolder;
    Defaults registeredOnly(otherFolder.filePath(QStringLiteral("settings.conf")));
    DisplaySettings::registerDefaults(registeredOnly);
    EXPECT_EQ(DisplaySettings::artworkSize(defaults), DisplaySettings::artworkSize(registeredOnly));
    EXPECT_EQ(DisplaySettings::fontWeight(defaults), DisplaySettings::fontWeight(registeredOnly));
    EXPECT_EQ(DisplaySettings::padding(defaults), DisplaySettings::padding(registeredOnly));
    EXPECT_EQ(DisplaySettings::limitTitlesToOneLine(defaults),
              DisplaySettings::limitTitlesToOneLine(registeredOnly));
    EXPECT_EQ(DisplaySettings::showSubtitles(defaults), DisplaySettings::showSubtitles(registeredOnly));
    EXPECT_EQ(DisplaySettings::useAlternatingRowColors(defaults),
              DisplaySettings::useAlternatingRowColors(registeredOnly));
    EXPECT_EQ(pane->fontWeightPicker()->currentText(), QStringLiteral("Semibold"));
    EXPECT_EQ(pane->paddingPicker()->currentText(), QStringLiteral("Large"));
    EXPECT_EQ(pane->artworkSizeSlider()->value(), 32);
    EXPECT_FALSE(pane->limitTitlesToOneLineToggle()->isChecked());
    EXPECT_TRUE(pane->showSubtitlesToggle()->isChecked());
}

TEST_F(AppearanceSettingsTest, InvalidStoredChoicesShowTheDefaultsAndOpeningSendsNothing) {
    defaults.setValue(DefaultsKeys::fontWeight, 7);
    defaults.setValue(DefaultsKeys::padding, -1);
    recordedSignals->takeSent();
    const std::vector sent = sentBy(
        [&] {
            AppearanceSettingsPane opened(defaults, notifications);
            opened.show();
            EXPECT_EQ(opened.fontWeightPicker()->currentText(), QStringLiteral("Semibold"));
            EXPECT_EQ(opened.paddingPicker()->currentText(), QStringLiteral("Large"));
        },
        0);
    EXPECT_TRUE(sent.empty());
}

} // namespace
} // namespace Marrowbell
