#include "Artwork/ArtworkView.h"
#include "Player/PlayerButton.h"
#include "Player/UpNextEdits.h"
#include "Player/UpNextView.h"
#include "PlayerFixture.h"

#include <QAccessible>
#include <QLabel>
#include <QScrollBar>

namespace Marrowbell::Testing {
namespace {

class UpNextTest : public PlayerBarTest {
protected:
    /// Six songs with the third one current, so two entries come before the up-next list's first row.
    void queueWithTwoBefore() {
        std::vector<MusicKit::Song> songs;
        for (std::size_t index = 30; index < 36; ++index) {
            songs.push_back(catalogSong(index));
        }
        player->setQueue(songs);
        ids.clear();
        for (const auto& entry : player->queue().entries()) {
            ids.push_back(entry.id);
        }
        player->queue().setCurrentEntry(ids[2]);
        model->refreshPlayerState();
        ASSERT_EQ(model->queue.get().size(), 4u);
    }
    std::vector<std::string> playerIDs() const {
        std::vector<std::string> result;
        for (const auto& entry : player->queue().entries()) {
            result.push_back(entry.id);
        }
        return result;
    }
    std::vector<std::string> idsAt(std::initializer_list<std::size_t> indexes) const {
        std::vector<std::string> result;
        for (const std::size_t index : indexes) {
            result.push_back(ids[index]);
        }
        return result;
    }

    std::vector<std::string> ids;
};

TEST_F(UpNextTest, ListsTheEntriesFromTheCurrentOneAndOpensOnceOverItsButton) {
    view().showUpNext();
    UpNextView* upNext = view().upNext();
    ASSERT_TRUE(upNext);
    EXPECT_TRUE(upNext->placeholder()->isVisible()) << "empty queue";
    EXPECT_TRUE(
        upNext->placeholder()->text().contains(QStringLiteral("You don't have any songs in the queue.")));

    queueWithTwoBefore();
    ASSERT_TRUE(QTest::qWaitFor([&] { return upNext->list()->count() == 4; }, 2000));
    EXPECT_EQ(upNext->rowIDs(), idsAt({2, 3, 4, 5}));
    EXPECT_FALSE(upNext->placeholder()->isVisible());
    EXPECT_FALSE(upNext->list()->item(0)->flags().testFlag(Qt::ItemIsDragEnabled)) << "the playing row stays";

    QTest::mouseClick(view().upNextButton(), Qt::LeftButton);
    EXPECT_EQ(view().upNext(), upNext) << "an open list stays open";
}

TEST_F(UpNextTest, ALongQueueShowsItsHandleAtTheTopAndScrollsToItsWholeLastRow) {
    std::vector<MusicKit::Song> songs;
    for (std::size_t index = 0; index < 40; ++index) {
        songs.push_back(catalogSong(index));
    }
    songs.back().title = std::string(120, 'W');
    player->setQueue(songs);
    model->refreshPlayerState();
    view().showUpNext();
    QListWidget& list = *view().upNext()->list();
    ASSERT_TRUE(QTest::qWaitFor([&] { return list.count() == 40; }, 2000));
    QCoreApplication::processEvents();

    EXPECT_FALSE(list.horizontalScrollBar()->isVisible()) << "titles end in an ellipsis instead";
    QScrollBar& scrollBar = *list.verticalScrollBar();
    ASSERT_TRUE(scrollBar.isVisible());
    ASSERT_EQ(scrollBar.value(), 0);
    // The handle is what stands out from the track, and it stands at the top.
    UpNextView& popup = *view().upNext();
    const QImage drawn = popup.grab().toImage();
    const QRect track(scrollBar.mapTo(&popup, QPoint(0, 0)), scrollBar.size());
    const auto lightness = [&](int fraction) {
        return drawn.pixelColor(track.center().x(), track.top() + track.height() * fraction / 10).lightness();
    };
    EXPECT_LT(lightness(1), lightness(9));

    scrollBar.setValue(scrollBar.maximum());
    const QRect lastRow = list.visualItemRect(list.item(39));
    EXPECT_GE(lastRow.top(), 0);
    EXPECT_LE(lastRow.bottom(), list.viewport()->rect().bottom()) << "the whole last row shows";
}

TEST_F(UpNextTest, DeletingAndMovingChangeExactlyTheChosenEntriesWithEntriesBeforeTheCurrentOne) {
    queueWithTwoBefore();
    UpNextView upNext(*model, *player);

    upNext.deleteRows({1, 3});
    EXPECT_EQ(playerIDs(), idsAt({0, 1, 2, 4}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return upNext.list()->count() == 2; }, 2000));

    upNext.deleteRows({0});
    EXPECT_EQ(playerIDs(), idsAt({0, 1, 2, 4})) << "the playing entry is not deleted";

    queueWithTwoBefore();
    ASSERT_TRUE(QTest::qWaitFor([&] { return upNext.list()->count() == 4; }, 2000));
    upNext.moveRows({3}, 1);
    EXPECT_EQ(playerIDs(), idsAt({0, 1, 2, 5, 3, 4}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return upNext.rowIDs() == idsAt({2, 5, 3, 4}); }, 2000));
    upNext.moveRows({1}, 4);
    EXPECT_EQ(playerIDs(), idsAt({0, 1, 2, 3, 4, 5})) << "to after the last row";

    ASSERT_TRUE(QTest::qWaitFor([&] { return upNext.rowIDs() == idsAt({2, 3, 4, 5}); }, 2000));
    upNext.moveRows({2}, 0);
    upNext.moveRows({0}, 3);
    upNext.moveRows({0, 2}, 4);
    EXPECT_EQ(playerIDs(), idsAt({0, 1, 2, 3, 4, 5})) << "nothing moves the playing row or goes above it";
}

TEST_F(UpNextTest, EditsFollowEntryIDsWhenThePlayerMovedOnMeanwhile) {
    queueWithTwoBefore();
    UpNextView upNext(*model, *player);
    const std::vector<std::string> shown = upNext.rowIDs();
    player->queue().setCurrentEntry(ids[3]);
    EXPECT_TRUE(UpNextEdits::remove(player->queue(), shown, {2}));
    EXPECT_EQ(playerIDs(), idsAt({0, 1, 2, 3, 5})) << "the shown row's entry, not the offset's";
    EXPECT_TRUE(UpNextEdits::move(player->queue(), shown, {3}, 1));
    EXPECT_EQ(playerIDs(), idsAt({0, 1, 2, 5, 3}));
}

TEST_F(UpNextTest, DoubleClickJumpsToTheRowsEntry) {
    queueWithTwoBefore();
    UpNextView upNext(*model, *player);
    upNext.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&upNext));
    QListWidget& list = *upNext.list();
    const QPoint row2 = list.visualItemRect(list.item(2)).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, row2);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, row2);
    EXPECT_EQ(player->queue().currentEntry()->id, ids[4]);
    ASSERT_TRUE(QTest::qWaitFor([&] { return upNext.rowIDs() == idsAt({4, 5}); }, 5000));
}

// Found as a screen reader finds it, from the window down.
QAccessibleInterface* accessibleList(QAccessibleInterface* node, const QString& name) {
    if (node->role() == QAccessible::List && node->text(QAccessible::Name) == name) {
        return node;
    }
    for (int child = 0; child < node->childCount(); ++child) {
        if (QAccessibleInterface* found = accessibleList(node->child(child), name)) {
            return found;
        }
    }
    return nullptr;
}

TEST_F(UpNextTest, OpensFromTheKeyboardWithTheFocusAndIsReadAndWorkedByKeys) {
    queueWithTwoBefore();
    host->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(host.get(), 5000));
    // Keys go to the window, which hands them to the widget with the focus.
    const auto press = [&](Qt::Key key) { QTest::keyClick(host->windowHandle(), key); };
    view().upNextButton()->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Space);
    UpNextView* upNext = view().upNext();
    ASSERT_TRUE(upNext);
    EXPECT_EQ(QApplication::focusWidget(), upNext->list());

    QAccessibleInterface* list =
        accessibleList(QAccessible::queryAccessibleInterface(host.get()), QStringLiteral("Up Next"));
    ASSERT_TRUE(list);
    ASSERT_EQ(list->childCount(), 4);
    EXPECT_EQ(list->child(1)->text(QAccessible::Name), QString::fromStdString(catalogSong(33).title));

    press(Qt::Key_Down);
    press(Qt::Key_Return);
    EXPECT_EQ(player->queue().currentEntry()->id, ids[3]);
    ASSERT_TRUE(QTest::qWaitFor([&] { return upNext->rowIDs() == idsAt({3, 4, 5}); }, 5000));
    press(Qt::Key_Down);
    press(Qt::Key_Delete);
    EXPECT_EQ(upNext->rowIDs(), idsAt({3, 5}));

    press(Qt::Key_Escape);
    EXPECT_FALSE(view().upNext());
    EXPECT_EQ(QApplication::focusWidget(), view().upNextButton()) << "the focus is back where it was";
}

TEST_F(UpNextTest, AStationRowKeepsOneArtworkKey) {
    player->setQueue(MusicKit::Station{MusicKit::MusicItemID("ra.31"), "Station 31", artworkFor("ra.31")});
    model->refreshPlayerState();
    UpNextView upNext(*model, *player);
    const auto rowKey = [&] {
        return upNext.list()->itemWidget(upNext.list()->item(0))->findChild<ArtworkView*>()->loadIdentity();
    };
    ASSERT_EQ(upNext.list()->count(), 1);
    const QString first = rowKey();
    EXPECT_TRUE(first.startsWith(QStringLiteral("station-ra.31-")));
    model->refreshPlayerState();
    ASSERT_TRUE(QTest::qWaitFor([&] { return upNext.list()->count() == 1 && rowKey() == first; }, 2000));
}

} // namespace
} // namespace Marrowbell::Testing
