#include "ListTestFixture.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QThread>
#include <atomic>

namespace Marrowbell::Testing {
namespace {

using PreparedItemsTests = ListTest;

constexpr int rowsTimeoutMs = 5000;

/// Rows that take `milliseconds` to build, as a long list does.
std::function<std::vector<TestRow>()> slowRows(int count, int milliseconds) {
    return [count, milliseconds] {
        QThread::msleep(static_cast<unsigned long>(milliseconds));
        return numberedRows(count);
    };
}

/// Notes the thread it is destroyed on.
struct DestructionProbe {
    std::atomic<QThread*>& destroyedOn;
    ~DestructionProbe() { destroyedOn = QThread::currentThread(); }
};

TEST_F(PreparedItemsTests, RowsAreBuiltAndTheReplacedOnesDestroyedOffTheGuiThread) {
    std::atomic<QThread*> destroyedOn = nullptr;
    std::vector<TestRow> rows = numberedRows(3);
    rows[1].keptAlive = std::make_shared<DestructionProbe>(destroyedOn);
    makeList(std::move(rows));

    std::atomic<QThread*> builtOn = nullptr;
    list->prepareItems([&builtOn] {
        builtOn = QThread::currentThread();
        return numberedRows(4);
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->model()->rowCount() == 4; }, rowsTimeoutMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return destroyedOn.load() != nullptr; }, rowsTimeoutMs));
    EXPECT_NE(builtOn.load(), QThread::currentThread());
    EXPECT_NE(destroyedOn.load(), QThread::currentThread());
    EXPECT_EQ(list->model()->index(3, 0).data().toString(), QStringLiteral("Title 3"));
}

TEST_F(PreparedItemsTests, OnlyTheNewestReplacementIsEverShown) {
    makeList(numberedRows(3));
    QSignalSpy resets(list->model(), &QAbstractItemModel::modelReset);

    // The older rows finish last of all, after the newer ones are shown.
    list->prepareItems(slowRows(50, 300));
    list->prepareItems(slowRows(7, 0));
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->model()->rowCount() == 7; }, rowsTimeoutMs));
    QTest::qWait(400);
    EXPECT_EQ(list->model()->rowCount(), 7);
    EXPECT_EQ(resets.count(), 1);

    // Items set at once are newer than any still being built.
    list->prepareItems(slowRows(50, 200));
    list->setItems(numberedRows(9));
    EXPECT_EQ(list->model()->rowCount(), 9);
    QTest::qWait(400);
    EXPECT_EQ(list->model()->rowCount(), 9);
    EXPECT_EQ(resets.count(), 2);
}

TEST_F(PreparedItemsTests, SameIdentifiersRepaintOnlyChangedVisibleRowsAndKeepSelectionAndPlace) {
    selection = QStringLiteral("id-150");
    makeList(numberedRows(300));
    list->scrollTo(list->model()->index(150, 0), QAbstractItemView::PositionAtCenter);
    const int scrolled = list->verticalScrollBar()->value();
    const int firstShown = list->visibleRows().first;
    QSignalSpy resets(list->model(), &QAbstractItemModel::modelReset);
    QSignalSpy repaints(list->model(), &QAbstractItemModel::dataChanged);

    list->prepareItems([firstShown] {
        std::vector<TestRow> renamed = numberedRows(300);
        renamed[static_cast<std::size_t>(firstShown)].title = QStringLiteral("Renamed");
        renamed[5].title = QStringLiteral("Renamed off screen");
        return renamed;
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return repaints.count() > 0; }, rowsTimeoutMs));
    EXPECT_EQ(resets.count(), 0);
    ASSERT_EQ(repaints.count(), 1);
    EXPECT_EQ(repaints.at(0).at(0).value<QModelIndex>().row(), firstShown);
    EXPECT_EQ(list->cellPainter()->cellForRow(firstShown).title, QStringLiteral("Renamed"));
    EXPECT_EQ(list->model()->index(5, 0).data().toString(), QStringLiteral("Renamed off screen"));
    EXPECT_EQ(list->verticalScrollBar()->value(), scrolled);
    EXPECT_EQ(list->selectedRow(), 150);
    EXPECT_EQ(selectionWrites, 0);
}

} // namespace
} // namespace Marrowbell::Testing
