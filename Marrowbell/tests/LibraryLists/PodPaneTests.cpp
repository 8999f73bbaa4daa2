#include "LibraryLists/LibraryLists.h"
#include "LibraryLists/SongLists.h"
#include "LibraryListsTestFixture.h"
#include "MainWindow/MainContentView.h"
#include "MainWindow/PodController.h"
#include "MainWindow/PodPagingView.h"
#include "MainWindow/SortMenu.h"

#include <QSignalSpy>

namespace Marrowbell::Testing {
namespace {

using PodPaneTest = LibraryListsTest;

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

} // namespace
} // namespace Marrowbell::Testing
