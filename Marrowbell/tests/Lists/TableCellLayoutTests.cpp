#include "Lists/TableCellLayout.h"

#include <QApplication>
#include <QFontMetricsF>
#include <gtest/gtest.h>

namespace Marrowbell {
namespace {

TEST(TableCellLayoutTests, ArtworkTextAndChevronShareTheRow) {
    TableCell cell;
    cell.title = QStringLiteral("Title");
    cell.subtitle = QStringLiteral("Subtitle");
    const QFont font = QApplication::font();

    const TableCellLayout plain = TableCellLayout::make(cell, {300, 60}, font, font, false);
    EXPECT_EQ(plain.artwork, QRectF(0, 14, 32, 32));
    EXPECT_DOUBLE_EQ(plain.title.left(), 38.0);
    EXPECT_DOUBLE_EQ(plain.title.width(), 300 - 32 - 6 - 12);
    EXPECT_TRUE(plain.chevron.isEmpty());
    EXPECT_DOUBLE_EQ(plain.subtitle.top(), plain.title.bottom());

    const TableCellLayout selected = TableCellLayout::make(cell, {300, 60}, font, font, true);
    EXPECT_EQ(selected.chevron, QRectF(292, 0, 8, 60));

    cell.canShowChevron = false;
    const TableCellLayout noChevron = TableCellLayout::make(cell, {300, 60}, font, font, true);
    EXPECT_TRUE(noChevron.chevron.isEmpty());
    EXPECT_DOUBLE_EQ(noChevron.title.width(), 300 - 32 - 6);
}

TEST(TableCellLayoutTests, ATitleWithoutSubtitleIsCentredOneWithASubtitleStartsBelowThePadding) {
    TableCell cell;
    cell.title = QStringLiteral("Title");
    const QFont font = QApplication::font();
    const TableCellLayout layout = TableCellLayout::make(cell, {300, 60}, font, font, false);
    EXPECT_TRUE(layout.subtitle.isEmpty());
    EXPECT_NEAR(layout.title.center().y(), 30.0, 1.0);

    cell.subtitle = QStringLiteral("Subtitle");
    EXPECT_DOUBLE_EQ(TableCellLayout::make(cell, {300, 60}, font, font, false).title.top(),
                     cell.verticalPadding);
}

TEST(TableCellLayoutTests, LongTitlesWrapToTheirLineAllowanceAndEndElided) {
    const QFont font = QApplication::font();
    const QString title = QStringLiteral("A title long enough to need more than two lines in a narrow row");
    const double width = QFontMetricsF(font).horizontalAdvance(title) / 2.5;

    const QStringList two = TableCellLayout::wrapTitle(title, font, width, 2);
    ASSERT_EQ(two.size(), 2);
    EXPECT_TRUE(title.startsWith(two[0]));
    EXPECT_TRUE(two[1].endsWith(QChar(0x2026)));

    const QStringList one = TableCellLayout::wrapTitle(title, font, width, 1);
    ASSERT_EQ(one.size(), 1);
    EXPECT_TRUE(one[0].endsWith(QChar(0x2026)));
    EXPECT_EQ(TableCellLayout::wrapTitle(QStringLiteral("Short"), font, width, 2),
              QStringList{QStringLiteral("Short")});
}

TEST(TableCellLayoutTests, RowsAreTallEnoughForTheArtworkAndTheText) {
    TableCell cell;
    cell.subtitle = QStringLiteral("Subtitle");
    QFont tiny = QApplication::font();
    tiny.setPixelSize(6);
    EXPECT_EQ(TableCellLayout::fittingHeight(cell, 2, tiny, tiny), 32 + 12);

    const QFont font = QApplication::font();
    cell.artworkSize = 0;
    const int oneLine = TableCellLayout::fittingHeight(cell, 1, font, font);
    EXPECT_GT(TableCellLayout::fittingHeight(cell, 2, font, font), oneLine);
    cell.subtitle.clear();
    EXPECT_LT(TableCellLayout::fittingHeight(cell, 1, font, font), oneLine);
}

TEST(TableCellLayoutTests, ATitleTakesASecondLineOnlyWhenItDoesNotFitAndMayHaveOne) {
    TableCell cell;
    cell.title = QStringLiteral("A title long enough to need more than two lines in a narrow row");
    const QFont font = QApplication::font();
    const double wide = QFontMetricsF(font).horizontalAdvance(cell.title) + 100;
    EXPECT_EQ(TableCellLayout::titleLineCount(cell, wide, font), 1);
    EXPECT_EQ(TableCellLayout::titleLineCount(cell, 200, font), 2);
    cell.maxTitleLineLength = 1;
    EXPECT_EQ(TableCellLayout::titleLineCount(cell, 200, font), 1);
    cell.title.clear();
    EXPECT_EQ(TableCellLayout::titleLineCount(cell, 200, font), 1);
}

} // namespace
} // namespace Marrowbell
