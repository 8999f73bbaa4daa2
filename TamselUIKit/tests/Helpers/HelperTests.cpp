#include "TamselUIKit/EdgePinning.h"
#include "TamselUIKit/HostedSheet.h"
#include "TamselUIKit/HostedWindowDismiss.h"
#include "TamselUIKit/HoverUnderlineButton.h"
#include "TamselUIKit/TableViewRowHeights.h"

#include <QApplication>
#include <QDialog>
#include <QEnterEvent>
#include <QHeaderView>
#include <QPointer>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace TamselUIKit;
using namespace Qt::StringLiterals;

namespace {

// Rows as tall as the test says, as a list's cell is as tall as its content.
class RowHeightDelegate : public QStyledItemDelegate {
public:
    QList<int> heights{40, 40, 40};

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex& index) const override {
        return {100, heights.at(index.row())};
    }
};

class RowHeightsTest : public ::testing::Test {
protected:
    RowHeightsTest() {
        model_.setRowCount(3);
        model_.setColumnCount(1);
        table_.setModel(&model_);
        table_.setItemDelegate(&delegate_);
        table_.setShowGrid(false);
        table_.resizeRowsToContents();
    }

    QList<int> rowHeights() const { return {table_.rowHeight(0), table_.rowHeight(1), table_.rowHeight(2)}; }

    QStandardItemModel model_;
    RowHeightDelegate delegate_;
    QTableView table_;
};

} // namespace

TEST_F(RowHeightsTest, RemeasuresOnlyTheGivenRows) {
    delegate_.heights = {70, 90, 110};
    noteHeightOfRowsWithoutAnimation(table_, {1});
    EXPECT_EQ(rowHeights(), QList<int>({40, 90, 40}));

    noteHeightOfRowsWithoutAnimation(table_, {-1, 2, 3, 99});
    EXPECT_EQ(rowHeights(), QList<int>({40, 90, 110}));
    EXPECT_EQ(table_.rowViewportPosition(2), 40 + 90) << "the rows below move with the new heights";
}

TEST_F(RowHeightsTest, AnEmptySetChangesNothing) {
    delegate_.heights = {70, 90, 110};
    noteHeightOfRowsWithoutAnimation(table_, {});
    EXPECT_EQ(rowHeights(), QList<int>({40, 40, 40}));
}

TEST(EdgePinning, FollowsTheParentOrASiblingUntilThePinIsGone) {
    QWidget window;
    window.resize(300, 200);
    auto* sibling = new QWidget(&window);
    sibling->setGeometry(10, 20, 50, 40);
    auto* overlay = new QWidget(&window);
    auto* follower = new QWidget(&window);
    pinEdges(*overlay, window);
    QObject* pin = pinEdges(*follower, *sibling);
    window.show();

    EXPECT_EQ(overlay->geometry(), QRect(0, 0, 300, 200));
    EXPECT_EQ(follower->geometry(), QRect(10, 20, 50, 40));

    window.resize(420, 260);
    sibling->setGeometry(30, 5, 70, 60);
    EXPECT_EQ(overlay->geometry(), QRect(0, 0, 420, 260));
    EXPECT_EQ(follower->geometry(), QRect(30, 5, 70, 60));

    delete pin;
    sibling->move(0, 0);
    EXPECT_EQ(follower->geometry(), QRect(30, 5, 70, 60));
    delete sibling;
    window.resize(100, 100);
    EXPECT_EQ(overlay->geometry(), QRect(0, 0, 100, 100));
}

TEST(HostedSheet, ContentClosesItsSheetThroughTheDismissObject) {
    QWidget presenter;
    presenter.show();
    auto* content = new QWidget;
    auto* button = new QWidget(content);
    QPointer<QDialog> sheet = presentHostedSheet(presenter, content, true);
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(sheet->windowModality(), Qt::WindowModal);

    HostedWindowDismiss* dismiss = HostedWindowDismiss::find(button);
    ASSERT_NE(dismiss, nullptr);
    dismiss->dismiss();
    EXPECT_FALSE(sheet->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(sheet.isNull());
    EXPECT_EQ(HostedWindowDismiss::find(&presenter), nullptr);
}

TEST(HostedSheet, DismissDoesNothingOnceThePresenterIsGone) {
    QWidget window;
    auto* presenter = new QWidget(&window);
    window.show();
    QPointer<QDialog> sheet = presentHostedSheet(*presenter, new QWidget, true);
    HostedWindowDismiss* dismiss = HostedWindowDismiss::find(sheet);
    delete presenter;

    dismiss->dismiss();
    EXPECT_TRUE(sheet->isVisible());
}

namespace {

/// Counts the requests to quit that reach it, and stops them there.
class QuitCounter final : public QObject {
public:
    int quits = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == qApp && event->type() == QEvent::Quit) {
            ++quits;
            return true;
        }
        return false;
    }
};

} // namespace

TEST(HostedSheet, ASheetThatPreventsTerminationRefusesQuittingWhileItShows) {
    QWidget presenter;
    presenter.show();
    QuitCounter counter;
    qApp->installEventFilter(&counter);
    auto requestQuit = [] {
        QEvent quit(QEvent::Quit);
        QCoreApplication::sendEvent(qApp, &quit);
    };

    QPointer<QDialog> preventing = presentHostedSheet(presenter, new QWidget, true);
    requestQuit();
    EXPECT_EQ(counter.quits, 0);
    EXPECT_TRUE(preventing->isVisible());
    HostedWindowDismiss::find(preventing)->dismiss();
    requestQuit();
    EXPECT_EQ(counter.quits, 1) << "not once the sheet is gone";

    QPointer<QDialog> allowing = presentHostedSheet(presenter, new QWidget, false);
    requestQuit();
    EXPECT_EQ(counter.quits, 2);
    EXPECT_TRUE(allowing->isVisible());
    qApp->removeEventFilter(&counter);
}

TEST(HoverUnderlineButton, UnderlinedOnlyWhileHoveredAndClickableAcrossItsFrame) {
    int clicks = 0;
    HoverUnderlineButton button(u"Release notes"_s, [&clicks] { ++clicks; });
    button.resize(button.sizeHint() + QSize(40, 10));
    button.show();
    EXPECT_FALSE(button.labelFont().underline());

    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(&button, &enter);
    EXPECT_TRUE(button.isHovered());
    EXPECT_TRUE(button.labelFont().underline());

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&button, &leave);
    EXPECT_FALSE(button.labelFont().underline());

    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(1, 1));
    EXPECT_EQ(clicks, 1);
    EXPECT_LT(button.font().pointSizeF(), QApplication::font().pointSizeF());
}
