#include "LibraryLists/LibraryLists.h"
#include "LibraryLists/SongLists.h"
#include "LibraryListsTestFixture.h"
#include "MainWindow/MainContentView.h"
#include "MainWindow/PodController.h"
#include "MainWindow/PodPagingView.h"
#include "MainWindow/SortMenu.h"
#include "Player/PlayerBar.h"
#include "Player/PlayerButton.h"
#include "Player/PlayerView.h"

#include <QAccessible>
#include <QSignalSpy>
#include <QToolButton>
#include <algorithm>

namespace Marrowbell::Testing {
namespace {

class PodPaneTest : public LibraryListsTest {
protected:
    void TearDown() override {
        mainContent.reset();
        LibraryListsTest::TearDown();
    }

    /// The main window's content `width` wide, started, in the active window.
    void showContent(int width) {
        mainContent =
            std::make_unique<MainContentView>(*models, environment->service().displayName(), makePane);
        mainContent->resize(width, 500);
        QSignalSpy started(mainContent.get(), &MainContentView::startUpFinished);
        mainContent->show();
        ASSERT_TRUE(started.wait(30000));
        mainContent->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(mainContent.get(), 5000));
    }

    /// Chooses `kind` and waits for its pane, of type `List`, to lay out its rows.
    template <class List> List& showKindPane(ContainerKind kind) {
        model().selectContainerKind(containerKindID(kind));
        const auto& podPanes = mainContent->pod().view()->panes();
        List* list = nullptr;
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                list = podPanes.size() > 1 ? dynamic_cast<List*>(podPanes[1]) : nullptr;
                return list && rowCount(*list) > 0 && !rowCenter(*list, 0).isNull();
            },
            15000));
        return *list;
    }

    /// The key goes where the window sends keys: to the widget with the focus.
    static void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }

    std::unique_ptr<MainContentView> mainContent;
};

TEST_F(PodPaneTest, ChoosingAKindAndAContainerShowsTheirRealLists) {
    MainContentView content(*models, environment->service().displayName(), makePane);
    content.resize(900, 500);
    QSignalSpy started(&content, &MainContentView::startUpFinished);
    content.show();
    ASSERT_TRUE(started.wait(30000));
    const auto& podPanes = content.pod().view()->panes();

    model().selectContainerKind(containerKindID(ContainerKind::albums));
    ASSERT_TRUE(QTest::qWaitFor([&] { return podPanes.size() == 3 && dynamic_cast<AlbumList*>(podPanes[1]); },
                                15000));
    auto* albums = dynamic_cast<AlbumList*>(podPanes[1]);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return rowCount(*albums) == int(models->albums->items.get().size()); }, 15000));

    QTest::mouseClick(albums->viewport(), Qt::LeftButton, {}, rowCenter(*albums, 1));
    const QString second = QString::fromStdString(models->albums->items.get()[1].identifier);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return podPanes.size() == 3 && model().navigationPath.get().back().id() == second; }, 15000));
    // The pod replaces the third pane, whose rows are the second album's songs.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const auto* songs = podPanes.size() == 3 ? dynamic_cast<SongList*>(podPanes[2]) : nullptr;
            return songs && !model().detailSongs.get().empty() &&
                   shownTitles(*songs) == songRowTitles(model().detailSongs.get());
        },
        15000));

    model().selectContainerKind(containerKindID(ContainerKind::songs));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return podPanes.size() == 2 && dynamic_cast<SongList*>(podPanes[1]); }, 15000));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return rowCount(*dynamic_cast<SongList*>(podPanes[1])) == int(demoSongCount) + 2; }, 15000));
}

TEST_F(PodPaneTest, TheSortMenuShowsTheKindsSectionThenItsOrdersAndDirections) {
    QMenu menu;
    fillSortMenu(menu, *models, ContainerKind::songs);
    QStringList titles;
    for (QAction* action : menu.actions()) {
        titles << (action->isSeparator() && action->text().isEmpty() ? QStringLiteral("-") : action->text());
    }
    EXPECT_EQ(titles.front(), QStringLiteral("Sort Songs"));
    EXPECT_EQ(titles.mid(titles.size() - 3),
              (QStringList{QStringLiteral("-"), QStringLiteral("Ascending"), QStringLiteral("Descending")}));
    // Nothing stored: the first order and ascending are the current choices.
    EXPECT_TRUE(menu.actions()[1]->isChecked());
    EXPECT_TRUE(menu.actions()[titles.size() - 2]->isChecked());

    fillSortMenu(menu, *models, ContainerKind::artists);
    EXPECT_EQ(menu.actions().front()->text(), QStringLiteral("Sort Artists"));
    menu.actions().back()->trigger();
    EXPECT_EQ(models->artists->sortDirection(), MusicSortDirection::descending);
}

TEST_F(PodPaneTest, TabMovesBetweenTheListsWithoutSelectingAndSpaceTypesDuringTypeSelect) {
    showContent(900);
    auto& albums = showKindPane<AlbumList>(ContainerKind::albums);
    QTest::mouseClick(albums.viewport(), Qt::LeftButton, {}, rowCenter(albums, 1));
    const std::optional<QString> album = model().selectedAlbumID.get();
    ASSERT_TRUE(QTest::qWaitFor([&] { return mainContent->pod().view()->panes().size() == 3; }, 15000));
    const QWidget* detail = mainContent->pod().view()->panes()[2];
    ASSERT_EQ(QApplication::focusWidget(), &albums);

    press(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), detail) << "the next list";
    EXPECT_EQ(model().activePane.get(), 2);
    press(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), &albums);
    EXPECT_EQ(model().activePane.get(), 1);
    press(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), mainContent->pod().view()->panes()[0]);
    // Round the window, Tab stops only where the user sees the focus: the lists, the toolbar's buttons and,
    // after them, the player bar's, each named for a screen reader.
    QWidget* root = QApplication::focusWidget();
    EXPECT_EQ(root->accessibleName(), QStringLiteral("Library"));
    std::vector<QWidget*> stops;
    for (int step = 0; step < 16 && (step == 0 || QApplication::focusWidget() != root); ++step) {
        press(Qt::Key_Tab);
        QWidget* focused = QApplication::focusWidget();
        stops.push_back(focused);
        EXPECT_TRUE(dynamic_cast<const CollectionListControllerBase*>(focused) ||
                    qobject_cast<const QToolButton*>(focused))
            << (focused ? focused->metaObject()->className() : "nothing");
        EXPECT_FALSE(QAccessible::queryAccessibleInterface(focused)->text(QAccessible::Name).isEmpty());
    }
    EXPECT_EQ(QApplication::focusWidget(), root);
    const PlayerView& bar = *mainContent->playerBar()->view();
    const std::vector<QWidget*> toolbarThenBar{
        mainContent->searchButton(), bar.previousButton(), bar.playPauseButton(), bar.nextButton(),
        bar.repeatButton(),          bar.shuffleButton(),  bar.upNextButton(),    root};
    EXPECT_FALSE(std::ranges::search(stops, toolbarThenBar).empty())
        << "the bar's buttons follow the toolbar's";
    EXPECT_EQ(model().selectedAlbumID.get(), album) << "no key of these chose another album";
    EXPECT_EQ(model().selectedContainerKindID.get(), containerKindID(ContainerKind::albums));

    // Once typing has begun, Space belongs to the typed title rather than to the player.
    auto& songs = showKindPane<SongList>(ContainerKind::songs);
    ASSERT_TRUE(showsRows(songs, int(demoSongCount) + 2));
    const QStringList titles = shownTitles(songs);
    // keyClicks types plain letters only.
    const auto typedPrefix = [](const QString& title) {
        const QString prefix = title.left(title.indexOf(u' ') + 2).toLower();
        const bool plain = std::all_of(prefix.begin(), prefix.end(),
                                       [](QChar c) { return c == u' ' || (c >= u'a' && c <= u'z'); });
        return title.indexOf(u' ') > 0 && plain ? prefix : QString();
    };
    const auto twoWords = std::find_if(titles.begin() + 2, titles.end(),
                                       [&](const QString& title) { return !typedPrefix(title).isEmpty(); });
    ASSERT_NE(twoWords, titles.end());
    const QString typed = typedPrefix(*twoWords);
    QTest::mouseClick(songs.viewport(), Qt::LeftButton, {}, rowCenter(songs, 2));
    press(Qt::Key_Return);
    ASSERT_TRUE(playerPlays());
    QTest::keyClicks(&songs, typed);
    EXPECT_TRUE(titles[songs.selectedRow()].toLower().startsWith(typed)) << typed.toStdString();
    EXPECT_FALSE(QTest::qWaitFor(
        [&] { return player().state().playbackStatus() != MusicKit::MusicPlayerPlaybackStatus::playing; },
        1000))
        << "it kept playing";
}

TEST_F(PodPaneTest, InOnePaneADoubleClickPlaysAndOpensTheAlbumWhateverItsSpeed) {
    showContent(400);
    model().activePane.set(1);
    auto& albums = showKindPane<AlbumList>(ContainerKind::albums);
    // The list opens its first album by itself.
    ASSERT_TRUE(QTest::qWaitFor([&] { return mainContent->pod().view()->panes().size() == 3; }, 15000));
    for (const int row : {1, 2}) {
        const int betweenClicksMs = row == 1 ? 40 : 150;
        SCOPED_TRACE(betweenClicksMs);
        model().activePane.set(1);
        ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == &albums; }, 2000));
        const QPoint point = rowCenter(albums, row);
        QTest::mouseClick(albums.viewport(), Qt::LeftButton, {}, point);
        QTest::qWait(betweenClicksMs);
        // Qt delivers the second press of a double-click as the double-click alone.
        QTest::mouseDClick(albums.viewport(), Qt::LeftButton, {}, point);
        QTest::mouseRelease(albums.viewport(), Qt::LeftButton, {}, point);
        ASSERT_TRUE(playerPlays());
        const QString album = QString::fromStdString(models->albums->items.get()[row].identifier);
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                return model().activePane.get() == 2 && model().navigationPath.get().back().id() == album;
            },
            5000));
        EXPECT_FALSE(QTest::qWaitFor([&] { return model().activePane.get() != 2; }, 600)) << "and stays open";
        EXPECT_EQ(QApplication::focusWidget(), mainContent->pod().view()->panes()[2]) << "with the keyboard";
        player().stop();
    }
}

} // namespace
} // namespace Marrowbell::Testing
