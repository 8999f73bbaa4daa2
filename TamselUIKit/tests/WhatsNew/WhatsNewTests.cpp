#include "OpenedURLs.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <TamselUIKit/FeatureView.h>
#include <TamselUIKit/HostedWhatsNewView.h>
#include <TamselUIKit/HostedWindowDismiss.h>
#include <TamselUIKit/WhatsNewContentView.h>
#include <TamselUIKit/WhatsNewView.h>
#include <gtest/gtest.h>

namespace TamselUIKit {
namespace {

using namespace Qt::StringLiterals;

QLabel* subtitleOf(const FeatureView& view) {
    return view.findChild<QLabel*>(u"subtitle"_s);
}

TEST(WhatsNewTest, WithNoFeaturesStillShowsTheTitleAndContinue) {
    QApplication::setApplicationDisplayName(u"Inkwell"_s);
    WhatsNewView sheet({});
    sheet.show();
    const auto* title = sheet.findChild<QLabel*>(u"title"_s);
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text(), u"What's New in Inkwell"_s);
    EXPECT_TRUE(title->isVisible());
    EXPECT_EQ(sheet.content()->continueButton()->text(), u"Continue"_s);
    EXPECT_TRUE(sheet.content()->continueButton()->isVisible());
    EXPECT_EQ(sheet.content()->width(), 520);
}

TEST(WhatsNewTest, ReturnTriggersContinueInBothWrappers) {
    const QList<Feature> features{{u"star"_s, u"Stars"_s, u"Rate what you hear."_s, std::nullopt}};
    WhatsNewView sheet(features);
    sheet.show();
    QTest::keyClick(&sheet, Qt::Key_Return);
    EXPECT_EQ(sheet.result(), QDialog::Accepted);
    EXPECT_FALSE(sheet.isVisible());

    QWidget window;
    auto* hosted = new HostedWhatsNewView(features, &window);
    window.show();
    QTest::keyClick(hosted->content(), Qt::Key_Return); // no host object yet: nothing happens
    int dismissals = 0;
    new HostedWindowDismiss([&] { ++dismissals; }, &window);
    QTest::keyClick(hosted->content(), Qt::Key_Return);
    QTest::keyClick(hosted->content()->continueButton(), Qt::Key_Enter);
    EXPECT_EQ(dismissals, 2);
}

TEST(WhatsNewTest, OnlyAValidWebLinkMakesTheDescriptionClickable) {
    Testing::OpenedURLs opened(u"https"_s);
    const FeatureView linked({u"star"_s, u"Stars"_s, u"Rate & review"_s, u"https://example.com/stars"_s});
    const FeatureView invalid({u"star"_s, u"Stars"_s, u"Rate & review"_s, u"http://exa mple.com/%"_s});
    const FeatureView otherScheme({u"star"_s, u"Stars"_s, u"Rate & review"_s, u"file:///etc/passwd"_s});
    const FeatureView none({u"star"_s, u"Stars"_s, u"Rate & review"_s, std::nullopt});

    for (const auto* plain : {&invalid, &otherScheme, &none}) {
        EXPECT_FALSE(plain->linkURL().has_value());
        EXPECT_EQ(subtitleOf(*plain)->textFormat(), Qt::PlainText);
        EXPECT_EQ(subtitleOf(*plain)->text(), u"Rate & review"_s);
    }
    ASSERT_TRUE(linked.linkURL().has_value());
    EXPECT_TRUE(subtitleOf(linked)->text().contains(u"Rate &amp; review"_s));
    Q_EMIT subtitleOf(linked)->linkActivated(u"ignored"_s);
    EXPECT_EQ(opened.urls, QList<QUrl>{QUrl(u"https://example.com/stars"_s)});
}

TEST(WhatsNewTest, ALongDescriptionGrowsInHeightNotWidth) {
    const QString longText = u"A description that goes on. "_s.repeated(30);
    WhatsNewView sheet({{u"star"_s, u"Short"_s, u"One line."_s, std::nullopt}});
    WhatsNewView longSheet({{u"star"_s, u"Long"_s, longText, std::nullopt}});
    sheet.show();
    longSheet.show();
    EXPECT_EQ(longSheet.content()->width(), 520);
    EXPECT_GT(longSheet.height(), sheet.height());
}

} // namespace
} // namespace TamselUIKit
