#include "Platform/Defaults.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace Marrowbell {
namespace {

class DefaultsTests : public testing::Test {
protected:
    QString settingsPath() const { return directory_.filePath(QStringLiteral("Marrowbell/Marrowbell.conf")); }

    QTemporaryDir directory_;
};

TEST_F(DefaultsTests, AbsentKeysReadFalseAndZero) {
    Defaults defaults(settingsPath());
    EXPECT_FALSE(defaults.boolValue(u"missing"));
    EXPECT_EQ(defaults.integerValue(u"missing"), 0);
    EXPECT_EQ(defaults.doubleValue(u"missing"), 0.0);
    EXPECT_FALSE(defaults.storedValue(u"missing").isValid());
}

TEST_F(DefaultsTests, RegisteredValuesAnswerUntilAValueIsStored) {
    Defaults defaults(settingsPath());
    defaults.registerDefaults({{QStringLiteral("artworkSize"), 32}, {QStringLiteral("showSubtitles"), true}});
    EXPECT_EQ(defaults.doubleValue(u"artworkSize"), 32.0);
    EXPECT_TRUE(defaults.boolValue(u"showSubtitles"));

    defaults.setValue(u"artworkSize", 40.5);
    defaults.setValue(u"showSubtitles", false);
    EXPECT_EQ(defaults.doubleValue(u"artworkSize"), 40.5);
    EXPECT_FALSE(defaults.boolValue(u"showSubtitles"));

    defaults.remove(u"artworkSize");
    EXPECT_EQ(defaults.doubleValue(u"artworkSize"), 32.0);
}

TEST_F(DefaultsTests, ValuesSurviveInTheFileWithTheirTypesReadBack) {
    {
        Defaults defaults(settingsPath());
        defaults.setValue(u"fontWeight", 3);
        defaults.setValue(u"artworkSize", 31.5);
        defaults.setValue(u"limitTitlesToOneLine", true);
        ASSERT_TRUE(defaults.sync());
    }
    Defaults reopened(settingsPath());
    EXPECT_EQ(reopened.integerValue(u"fontWeight"), 3);
    EXPECT_EQ(reopened.doubleValue(u"artworkSize"), 31.5);
    EXPECT_EQ(reopened.integerValue(u"artworkSize"), 31);
    EXPECT_TRUE(reopened.boolValue(u"limitTitlesToOneLine"));
    EXPECT_EQ(reopened.integerValue(u"limitTitlesToOneLine"), 1);
}

TEST_F(DefaultsTests, TextThatIsNoNumberReadsZero) {
    Defaults defaults(settingsPath());
    defaults.setValue(u"padding", QStringLiteral("wide"));
    EXPECT_EQ(defaults.integerValue(u"padding"), 0);
    EXPECT_EQ(defaults.doubleValue(u"padding"), 0.0);
}

TEST_F(DefaultsTests, RemoveAllForgetsStoredKeysButKeepsRegistrations) {
    Defaults defaults(settingsPath());
    defaults.registerDefaults({{QStringLiteral("padding"), 2}});
    defaults.setValue(u"padding", 0);
    defaults.setValue(u"performedFullSync", true);
    QSignalSpy changes(&defaults, &Defaults::valueChanged);

    defaults.removeAll();

    EXPECT_EQ(changes.count(), 2);
    EXPECT_EQ(defaults.integerValue(u"padding"), 2);
    EXPECT_FALSE(Defaults(settingsPath()).boolValue(u"performedFullSync"));
}

TEST_F(DefaultsTests, EveryWriteAnnouncesItsKey) {
    Defaults defaults(settingsPath());
    QSignalSpy changes(&defaults, &Defaults::valueChanged);
    defaults.setValue(u"fontWeight", 1);
    defaults.setValue(u"fontWeight", 1);
    defaults.remove(u"fontWeight");
    ASSERT_EQ(changes.count(), 3);
    EXPECT_EQ(changes.at(2).at(0).toString(), QStringLiteral("fontWeight"));
}

} // namespace
} // namespace Marrowbell
