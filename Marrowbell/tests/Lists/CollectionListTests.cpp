#include "ListTestFixture.h"
#include "Lists/CollectionListModel.h"
#include "Lists/TableCellPainter.h"
#include "Platform/DefaultsKeys.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTextLayout>
#include <UnifiedLog/LogStore.h>
#include <algorithm>

namespace Marrowbell::Testing {
namespace {

using CollectionListTests = ListTest;

int heightUpdatesLogged() {
    const auto entries = UnifiedLog::LogStore::shared().entries();
    return static_cast<int>(
        std::count_if(entries.cbegin(), entries.cend(), [](const UnifiedLog::LogEntry& entry) {
            return entry.category == "collection" && entry.message == "Updating row heights";
        }));
}

TEST_F(CollectionListTests, ArrowKeysMoveTheSelectionAndReturnPlaysIt) {
    selection = QStringLiteral("id-1");
    makeList(numberedRows(5));
    QSignalSpy left(list.get(), &KeyHandlingTableView::leftKeyPressed);
    QSignalSpy right(list.get(), &KeyHandlingTableView::rightKeyPressed);
    ASSERT_EQ(list->selectedRow(), 1);

    QTest::keyClick(list.get(), Qt::Key_Down);
    EXPECT_EQ(selection, QStringLiteral("id-2"));
    QTest::keyClick(list.get(), Qt::Key_Up);
    QTest::keyClick(list.get(), Qt::Key_Up);
    EXPECT_EQ(selection, QStringLiteral("id-0"));

    QTest::keyClick(list.get(), Qt::Key_Return);
    QTest::keyClick(list.get(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(played, (std::vector<QString>{QStringLiteral("id-0"), QStringLiteral("id-0")}));

    // Left and Right belong to the pod: they leave the selection alone.
    QTest::keyClick(list.get(), Qt::Key_Left);
    QTest::keyClick(list.get(), Qt::Key_Right);
    EXPECT_EQ(left.count(), 1);
    EXPECT_EQ(right.count(), 1);
    EXPECT_EQ(list->selectedRow(), 0);
}

TEST_F(CollectionListTests, ReturnWithoutASelectionPlaysNothing) {
    makeList(numberedRows(3));
    QTest::keyClick(list.get(), Qt::Key_Return);
    EXPECT_TRUE(played.empty());
}

TEST_F(CollectionListTests, ClickSelectsOnceAndAsksThePodToMoveRightDoubleClickPlays) {
    makeList(numberedRows(3));
    QSignalSpy navigate(&notifications, &AppNotifications::navigateRightOnSelection);

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCenter(2));
    EXPECT_EQ(selection, QStringLiteral("id-2"));
    EXPECT_EQ(selectionWrites, 1);
    EXPECT_EQ(navigate.count(), 1);

    // Below the last row nothing is clicked and the pod stays.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(100, list->viewport()->height() - 2));
    EXPECT_EQ(navigate.count(), 1);
    EXPECT_EQ(list->selectedRow(), 2);

    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rowCenter(1));
    EXPECT_EQ(played, std::vector<QString>{QStringLiteral("id-1")});
    EXPECT_EQ(selectionWrites, 2);
}

TEST_F(CollectionListTests, AClickInAnInactiveWindowDoesNotMoveThePod) {
    makeList(numberedRows(3));
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    QSignalSpy navigate(&notifications, &AppNotifications::navigateRightOnSelection);

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCenter(0));
    EXPECT_EQ(selection, QStringLiteral("id-0"));
    EXPECT_EQ(navigate.count(), 0);
}

TEST_F(CollectionListTests, TheArtworkButtonPlaysItsRowOrPausesThePlayingOne) {
    playingID = QStringLiteral("id-0");
    makeList(numberedRows(3));

    QTest::mouseMove(list->viewport(), artworkCenter(1));
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->cellPainter()->hoveredRow() == 1; }, 2000));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, artworkCenter(1));
    EXPECT_EQ(played, std::vector<QString>{QStringLiteral("id-1")});
    EXPECT_EQ(selection, QStringLiteral("id-1"));

    QTest::mouseMove(list->viewport(), artworkCenter(0));
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->cellPainter()->hoveredRow() == 0; }, 2000));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, artworkCenter(0));
    EXPECT_EQ(pauses, 1);
    EXPECT_EQ(played.size(), 1u);

    // Off the artwork a click only selects.
    QTest::mouseMove(list->viewport(), rowCenter(2));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCenter(2));
    EXPECT_EQ(played.size(), 1u);
    EXPECT_EQ(selection, QStringLiteral("id-2"));
}

TEST_F(CollectionListTests, AppearanceChangesRelayoutTheRows) {
    makeList(numberedRows(3));
    const int largeRows = list->rowHeight(0);
    EXPECT_GE(largeRows, 32 + 2 * 6);

    QSignalSpy reloads(list->model(), &QAbstractItemModel::dataChanged);
    defaults->setValue(DefaultsKeys::padding, 0);
    Q_EMIT notifications.reloadAppearance();
    defaults->setValue(DefaultsKeys::fontWeight, 0);
    Q_EMIT notifications.reloadAppearance();
    ASSERT_TRUE(reloads.wait(1000));
    QTest::qWait(30);
    EXPECT_EQ(reloads.count(), 1);
    EXPECT_EQ(list->rowHeight(0), largeRows - 8);
    EXPECT_EQ(list->cellPainter()->cellForRow(0).titleFontWeight, 0);

    defaults->setValue(DefaultsKeys::limitTitlesToOneLine, true);
    defaults->setValue(DefaultsKeys::showSubtitles, false);
    defaults->setValue(DefaultsKeys::artworkSize, 64);
    defaults->setValue(DefaultsKeys::useAlternatingRowColors, true);
    Q_EMIT notifications.reloadAppearance();
    ASSERT_TRUE(reloads.wait(1000));
    EXPECT_EQ(list->rowHeight(0), 64 + 2 * 2);
    EXPECT_TRUE(list->cellPainter()->cellForRow(0).subtitle.isEmpty());
    EXPECT_TRUE(list->alternatingRowColors());
    EXPECT_FALSE(list->showGrid());
    EXPECT_EQ(list->visualRect(list->model()->index(2, 0)).top(), 2 * (64 + 4));
}

TEST_F(CollectionListTests, AnAppearanceChangeKeepsTheRowsInViewAndTheSelection) {
    selection = QStringLiteral("id-5");
    makeList(numberedRows(300));
    list->verticalScrollBar()->setValue(4000);
    const int topRow = list->rowAt(0);
    const int rowHeight = list->rowHeight(topRow);
    ASSERT_GT(topRow, 50) << "scrolled far from the selected row";

    defaults->setValue(DefaultsKeys::padding, 0);
    list->reloadAppearance();
    EXPECT_EQ(list->rowHeight(topRow), rowHeight - 8);
    EXPECT_EQ(list->rowAt(0), topRow) << "the same rows stay in view";
    EXPECT_EQ(list->selectedRow(), 5);
    EXPECT_EQ(selectionWrites, 0);
}

TEST_F(CollectionListTests, EachRowIsAsTallAsItsTitleAndSubtitleAtTheListsWidth) {
    // Small artwork, so that the text decides the heights.
    defaults->setValue(DefaultsKeys::artworkSize, 16);
    const QString longTitle =
        QStringLiteral("A title long enough to wrap onto a second line in a list this narrow");
    const QString mixedTitle = QStringLiteral("Golden 서울 Smörgåsbord \"Blue\"");
    makeList({{QStringLiteral("short"), QStringLiteral("Short"), QStringLiteral("Artist")},
              {QStringLiteral("long"), longTitle, QStringLiteral("Artist")},
              {QStringLiteral("bare"), QStringLiteral("Short"), {}},
              {QStringLiteral("mixed"), mixedTitle, QStringLiteral("Artist")}});
    list->viewport()->repaint();
    const int oneLine = list->rowHeight(0);
    EXPECT_GT(list->rowHeight(1), oneLine) << "a wrapped title takes a second line";
    EXPECT_LT(list->rowHeight(2), oneLine) << "a row without subtitle has no subtitle line";
    const QRect bareRow = list->visualRect(list->model()->index(2, 0));
    EXPECT_TRUE(list->cellPainter()
                    ->layoutInRow(list->cellPainter()->cellForRow(2), bareRow, false)
                    .subtitle.isEmpty());

    // A resize goes through many widths; the rows are measured again once it pauses.
    UnifiedLog::LogStore::shared().removeAll();
    for (const int width : {700, 1000, 1400}) {
        list->resize(width, 300);
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return list->rowHeight(1) == oneLine; }, 2000))
        << "wide enough for the title on one line";
    QTest::qWait(50);
    EXPECT_EQ(heightUpdatesLogged(), 1);
    list->resize(400, 300);
    EXPECT_TRUE(QTest::qWaitFor([&] { return list->rowHeight(1) > oneLine; }, 2000));
    EXPECT_EQ(heightUpdatesLogged(), 2);

    // Around the width where it wraps, a title drawn partly in a taller fallback font (Hangul) keeps its
    // wrapped lines, at that font's height, and its subtitle inside its row.
    const QFont titleFont = list->cellPainter()->cellForRow(3).titleFont(list->font());
    QTextLayout mixedLine(mixedTitle, titleFont);
    mixedLine.beginLayout();
    const QTextLine drawnLine = mixedLine.createLine();
    mixedLine.endLayout();
    const int titleWidth = int(QFontMetricsF(titleFont).horizontalAdvance(mixedTitle));
    for (int width = titleWidth + 40; width <= titleWidth + 60; ++width) {
        list->resize(width, 300);
        QTest::qWait(20);
        list->viewport()->repaint();
        const QRect row = list->visualRect(list->model()->index(3, 0));
        const TableCellLayout layout =
            list->cellPainter()->layoutInRow(list->cellPainter()->cellForRow(3), row, false);
        EXPECT_LE(layout.subtitle.bottom(), QRectF(row).bottom()) << "at width " << width;
        EXPECT_GE(layout.title.height() / layout.titleLines.size(), drawnLine.height())
            << "at width " << width;
    }

    defaults->setValue(DefaultsKeys::limitTitlesToOneLine, true);
    list->reloadAppearance();
    list->viewport()->repaint();
    EXPECT_EQ(list->rowHeight(1), oneLine);
}

TEST_F(CollectionListTests, HomeEndAndThePageKeysMoveThroughALongList) {
    std::vector<TestRow> rows = numberedRows(5000);
    // Rows of two heights, so that the rows a key reaches must be measured before they are scrolled to.
    for (std::size_t row = 0; row < rows.size(); row += 3) {
        rows[row].title =
            QStringLiteral("A title long enough to wrap onto a second line in a list this narrow");
    }
    makeList(std::move(rows));
    const auto fullyShown = [&](int row) {
        const QRect rect = list->visualRect(list->model()->index(row, 0));
        return rect.top() >= 0 && rect.bottom() < list->viewport()->height();
    };

    QTest::keyClick(list.get(), Qt::Key_End);
    EXPECT_EQ(selection, QStringLiteral("id-4999"));
    list->viewport()->repaint();
    EXPECT_TRUE(fullyShown(4999));

    QTest::keyClick(list.get(), Qt::Key_Home);
    EXPECT_EQ(selection, QStringLiteral("id-0"));
    list->viewport()->repaint();
    EXPECT_TRUE(fullyShown(0));

    const auto [first, last] = list->visibleRows();
    QTest::keyClick(list.get(), Qt::Key_PageDown);
    const int paged = list->selectedRow();
    EXPECT_GE(paged, last - first - 1) << "a page is about the rows that show";
    EXPECT_LE(paged, 2 * (last - first + 1));
    list->viewport()->repaint();
    EXPECT_TRUE(fullyShown(paged));
    QTest::keyClick(list.get(), Qt::Key_PageUp);
    EXPECT_LE(list->selectedRow(), paged - (last - first - 1));
}

TEST_F(CollectionListTests, TheLastRowScrollsClearOfThePlayerBarBelowIt) {
    makeList(numberedRows(200));
    QTest::keyClick(list.get(), Qt::Key_End);
    list->viewport()->repaint();
    const QRect lastRow = list->visualRect(list->model()->index(199, 0));
    const int lastRowBottom = list->viewport()->mapTo(list.get(), lastRow.bottomLeft()).y();
    // The bar floats over the list's bottom 52 pixels; a resize must not give that room back to the rows.
    EXPECT_LE(lastRowBottom, list->height() - 52);
    list->resize(420, 320);
    QTest::keyClick(list.get(), Qt::Key_End);
    list->viewport()->repaint();
    const QRect lastRowAfterResize = list->visualRect(list->model()->index(199, 0));
    EXPECT_LE(list->viewport()->mapTo(list.get(), lastRowAfterResize.bottomLeft()).y(), list->height() - 52);
}

TEST_F(CollectionListTests, ManyVisibleRowReloadsBecomeOne) {
    makeList(numberedRows(200));
    QSignalSpy repaints(list->model(), &QAbstractItemModel::dataChanged);
    for (int i = 0; i < 10; ++i) {
        Q_EMIT notifications.reloadVisibleRows();
    }
    ASSERT_TRUE(repaints.wait(1000));
    QTest::qWait(50);
    ASSERT_EQ(repaints.count(), 1);
    const auto [first, last] = list->visibleRows();
    EXPECT_EQ(repaints.at(0).at(0).value<QModelIndex>().row(), first);
    EXPECT_EQ(repaints.at(0).at(1).value<QModelIndex>().row(), last);
    EXPECT_LT(last, 199);
}

TEST_F(CollectionListTests, ARenamedRowRepaintsWithoutAReload) {
    selection = QStringLiteral("id-1");
    makeList(numberedRows(100));
    QSignalSpy resets(list->model(), &QAbstractItemModel::modelReset);
    QSignalSpy repaints(list->model(), &QAbstractItemModel::dataChanged);

    std::vector<TestRow> renamed = numberedRows(100);
    renamed[2].title = QStringLiteral("Renamed");
    renamed[90].title = QStringLiteral("Renamed off screen");
    list->setItems(renamed);

    EXPECT_EQ(resets.count(), 0);
    ASSERT_EQ(repaints.count(), 1);
    EXPECT_EQ(repaints.at(0).at(0).value<QModelIndex>().row(), 2);
    EXPECT_EQ(list->cellPainter()->cellForRow(2).title, QStringLiteral("Renamed"));
    EXPECT_EQ(list->model()->index(90, 0).data().toString(), QStringLiteral("Renamed off screen"));
    EXPECT_EQ(list->selectedRow(), 1);
    EXPECT_EQ(selectionWrites, 0);
}

TEST_F(CollectionListTests, NewIdentifiersReloadAndKeepTheBoundSelectionWithoutWritingIt) {
    selection = QStringLiteral("id-3");
    makeList(numberedRows(5));
    QSignalSpy resets(list->model(), &QAbstractItemModel::modelReset);

    std::vector<TestRow> rows = numberedRows(5);
    std::reverse(rows.begin(), rows.end());
    list->setItems(rows);
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(list->selectedRow(), 1);

    selection = QStringLiteral("missing");
    list->syncSelectionFromBinding();
    EXPECT_EQ(list->selectedRow(), 1);
    list->reloadAppearance();
    EXPECT_EQ(selectionWrites, 0);
}

TEST_F(CollectionListTests, AListWithASelectionReturnsToItsScrollPosition) {
    CollectionListControllerBase::forgetSavedScrollPositions();
    selection = QStringLiteral("id-150");
    makeList(numberedRows(300), QStringLiteral("Remembered"));
    list->verticalScrollBar()->setValue(2000);
    list->hide();
    list.reset();

    makeList(numberedRows(300), QStringLiteral("Remembered"));
    EXPECT_EQ(list->verticalScrollBar()->value(), 2000);

    list.reset();
    selection.reset();
    makeList(numberedRows(300), QStringLiteral("Remembered"));
    EXPECT_EQ(list->verticalScrollBar()->value(), 0);
}

TEST_F(CollectionListTests, FocusFromTheUserMovesTheActivePaneFocusFromCodeDoesNot) {
    makeList(numberedRows(3));
    int activePane = 0;
    list->setFocusedTag(
        ListBinding<int>{[&] { return activePane; }, [&](const int& pane) { activePane = pane; }});
    QWidget other(list.get());
    other.setFocusPolicy(Qt::StrongFocus);
    other.show();
    other.setFocus();
    ASSERT_TRUE(other.hasFocus());

    list->setFocus(Qt::OtherFocusReason);
    EXPECT_EQ(activePane, 0);
    other.setFocus();
    list->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(activePane, 1);

    activePane = 1;
    other.setFocus();
    list->syncFirstResponder();
    EXPECT_TRUE(list->hasFocus());
}

TEST_F(CollectionListTests, TheSelectionTakesTheHighlightOnlyWhileTheListHasTheFocus) {
    makeList(numberedRows(3));
    list->selectOnlyRow(1);
    QLineEdit other(list.get());
    other.show();
    const auto shownAt = [&](int row) {
        return list->viewport()->grab().toImage().pixelColor(2, rowCenter(row).y()).rgb();
    };
    const QRgb highlight =
        QApplication::palette(list.get()).color(QPalette::Active, QPalette::Highlight).rgb();
    const QRgb base = QApplication::palette(list.get()).color(QPalette::Base).rgb();
    list->setFocus();
    EXPECT_EQ(shownAt(1), highlight);

    other.setFocus();
    EXPECT_NE(shownAt(1), highlight) << "the focused pane is plain to see";
    EXPECT_NE(shownAt(1), base) << "the selection still shows";
    EXPECT_EQ(shownAt(0), base);

    list->setFocus();
    EXPECT_EQ(shownAt(1), highlight);
}

TEST_F(CollectionListTests, TypingSelectsTheRowWhoseTitleStartsWithIt) {
    makeList({{QStringLiteral("a"), QStringLiteral("Alpha"), {}},
              {QStringLiteral("b"), QStringLiteral("Bravo"), {}}});
    QTest::keyClick(list.get(), Qt::Key_B);
    EXPECT_EQ(selection, QStringLiteral("b"));
}

} // namespace
} // namespace Marrowbell::Testing

namespace Marrowbell::Testing {
namespace {

TEST_F(CollectionListTests, APlayingRowKeepsTheBarsMovingOnlyWhileItShows) {
    playingID = QStringLiteral("id-1");
    makeList(numberedRows(3));
    list->viewport()->repaint();
    EXPECT_TRUE(clock.isRunning());

    list->hide();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !clock.isRunning(); }, 1000));
}

} // namespace
} // namespace Marrowbell::Testing
