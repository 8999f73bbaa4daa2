#include "AppTestEnvironment.h"
#include "Artwork/ArtworkImageCache.h"
#include "Artwork/NowPlayingAnimationClock.h"
#include "Lists/ContainerList.h"
#include "Lists/TableCellPainter.h"
#include "Model/MainViewModel.h"

#include <MusicKit/ApplicationMusicPlayer.h>
#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace Marrowbell {
namespace {

std::vector<NavigationItem> pathOf(ContainerKind kind) {
    return {NavigationItem::root(), NavigationItem::container(kind)};
}

const NavigationItem playlistSongs =
    NavigationItem::songCollection(QStringLiteral("p1"), QStringLiteral("Mix"));

TEST(ContainerKindPathTests, ANewKindReplacesTheSecondItemAndDropsAnOpenedCollection) {
    std::vector<NavigationItem> path = pathOf(ContainerKind::playlists);
    path.push_back(playlistSongs);
    EXPECT_EQ(navigationPathForKind(path, ContainerKind::albums), pathOf(ContainerKind::albums));
    EXPECT_EQ(navigationPathForKind(path, ContainerKind::songs), pathOf(ContainerKind::songs));
    EXPECT_EQ(navigationPathForKind(path, ContainerKind::playlists), std::nullopt);
    EXPECT_EQ(navigationPathForKind({NavigationItem::root()}, ContainerKind::stations),
              pathOf(ContainerKind::stations));
}

/// The root list over a central model on a real store and settings, the demo service and a real player.
class ContainerListTests : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        environment = Testing::makeAppEnvironment(folder, 20);
        player = std::make_unique<MusicKit::ApplicationMusicPlayer>();
        model = std::make_unique<MainViewModel>(*environment, *player);
        artwork = std::make_unique<ArtworkImageCache>(folder.filePath(QStringLiteral("artwork")));
        model->selectedContainerKindID.set(QStringLiteral("playlists"));
        model->navigationPath.set(
            {NavigationItem::root(), NavigationItem::container(ContainerKind::playlists), playlistSongs});
        list = makeContainerList(
            *model, ListEnvironment{environment->defaults(), environment->notifications(), *artwork, clock});
        list->resize(300, 400);
        list->show();
        QApplication::setActiveWindow(list.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(list.get()));
    }

    void TearDown() override {
        list.reset();
        model.reset();
        player.reset();
        environment.reset();
    }

    void clickRow(int row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(row, 0)).center());
    }

    QTemporaryDir folder;
    std::unique_ptr<AppEnvironment> environment;
    std::unique_ptr<MusicKit::ApplicationMusicPlayer> player;
    std::unique_ptr<MainViewModel> model;
    std::unique_ptr<ArtworkImageCache> artwork;
    NowPlayingAnimationClock clock;
    std::unique_ptr<ContainerList> list;
};

TEST_F(ContainerListTests, ShowsTheSixKindsWithTheirSymbolsAndTheSelectedKind) {
    ASSERT_EQ(list->model()->rowCount(), 6);
    const TableCell albums = list->cellPainter()->cellForRow(1);
    EXPECT_EQ(albums.title, QStringLiteral("Albums"));
    EXPECT_EQ(albums.glyph, QStringLiteral("square.stack"));
    EXPECT_FALSE(albums.showGlyphBackground);
    EXPECT_EQ(list->cellPainter()->cellForRow(5).title, QStringLiteral("Stations for You"));
    EXPECT_EQ(list->selectedRow(), 0);
}

TEST_F(ContainerListTests, ChoosingAKindShowsItsListAndDoubleClickDoesNothingMore) {
    // Through the window, which turns a right press into the context menu's request.
    const QPoint albums = list->visualRect(list->model()->index(1, 0)).center();
    QTest::mouseClick(list->windowHandle(), Qt::RightButton, {}, list->viewport()->mapTo(list.get(), albums));
    QTest::qWait(20);
    EXPECT_EQ(list->selectedRow(), 0) << "a right-click selects nothing";
    EXPECT_EQ(model->selectedContainerKindID.get(), QStringLiteral("playlists"));

    clickRow(1);
    EXPECT_EQ(model->selectedContainerKindID.get(), QStringLiteral("albums"));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return model->navigationPath.get() == pathOf(ContainerKind::albums); }, 2000));

    QTest::keyClick(list.get(), Qt::Key_Down);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return model->navigationPath.get() == pathOf(ContainerKind::artists); }, 2000));
    QTest::keyClick(list.get(), Qt::Key_Return);
    EXPECT_EQ(model->navigationPath.get(), pathOf(ContainerKind::artists));
    EXPECT_EQ(model->selectedContainerKindID.get(), QStringLiteral("artists"));
}

TEST_F(ContainerListTests, AKindSetElsewhereMovesTheSelectionAndThePath) {
    model->selectedContainerKindID.set(QStringLiteral("songs"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->selectedRow() == 3; }, 2000));
    EXPECT_EQ(model->navigationPath.get(), pathOf(ContainerKind::songs));

    model->selectedContainerKindID.set(std::nullopt);
    QTest::qWait(20);
    EXPECT_EQ(model->navigationPath.get(), pathOf(ContainerKind::songs));
    EXPECT_EQ(list->selectedRow(), 3);
}

TEST_F(ContainerListTests, BecomingTheActivePaneTakesTheFocus) {
    model->activePane.set(1);
    QTest::qWait(20);
    QWidget other(list.get());
    other.setFocusPolicy(Qt::StrongFocus);
    other.show();
    other.setFocus();
    ASSERT_FALSE(list->hasFocus());
    model->activePane.set(0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->hasFocus(); }, 2000));
}

} // namespace
} // namespace Marrowbell
