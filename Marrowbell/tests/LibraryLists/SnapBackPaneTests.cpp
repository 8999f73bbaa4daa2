#include "LibraryLists/LibraryLists.h"
#include "LibraryLists/SongLists.h"
#include "LibraryListsTestFixture.h"
#include "MainWindow/MainContentView.h"
#include "MainWindow/PodController.h"
#include "MainWindow/PodPagingView.h"
#include "Player/PlayerBar.h"

#include <QSignalSpy>
#include <algorithm>
#include <set>

namespace Marrowbell::Testing {
namespace {

using MarrowbellCore::LocalAlbum;
using MarrowbellCore::LocalSong;

/// The main window's content over a library long enough that a song far down the Songs list, or at the end
/// of a long album, lies well outside the viewport.
class SnapBackPaneTest : public LibraryListsTest {
protected:
    static constexpr std::size_t librarySongs = 3000;
    /// How long the restored selection has to stay where it is: the lists' loads have landed by then.
    static constexpr int steadyMs = 600;

    SnapBackPaneTest()
        : LibraryListsTest(librarySongs) {}

    void SetUp() override {
        LibraryListsTest::SetUp();
        content = std::make_unique<MainContentView>(*models, environment->service().displayName(), makePane);
        content->resize(900, 320);
        QSignalSpy started(content.get(), &MainContentView::startUpFinished);
        content->show();
        ASSERT_TRUE(started.wait(30000));
    }

    void TearDown() override {
        content.reset();
        LibraryListsTest::TearDown();
    }

    template <class List> List* pane(std::size_t index) const {
        const auto& shown = content->pod().view()->panes();
        return index < shown.size() ? dynamic_cast<List*>(shown[index]) : nullptr;
    }

    /// The pane at `index` once it is a `List`; null when it does not become one.
    template <class List> List* waitForPane(std::size_t index) {
        return QTest::qWaitFor([&] { return pane<List>(index) != nullptr; }, 15000) ? pane<List>(index)
                                                                                    : nullptr;
    }

    void chooseKind(ContainerKind kind) { model().selectContainerKind(containerKindID(kind)); }

    /// The row `list` selects, when it lies wholly inside the list's viewport and clear of the player bar
    /// floating over it; -1 otherwise.
    int visibleSelectedRow(const CollectionListControllerBase& list) const {
        const int row = list.selectedRow();
        const QRect shown = row < 0 ? QRect() : list.visualRect(list.model()->index(row, 0));
        const PlayerBar* bar = content->playerBar();
        // The bar's card, without the margin round it where only its shadow is drawn.
        const QRect barOnScreen =
            QRect(bar->mapToGlobal(QPoint(0, 0)), bar->size())
                .adjusted(PlayerBar::inset, PlayerBar::inset, -PlayerBar::inset, -PlayerBar::inset);
        const QRect rowOnScreen(list.viewport()->mapToGlobal(shown.topLeft()), shown.size());
        return !shown.isEmpty() && list.viewport()->rect().contains(shown) &&
                       !(bar->isVisible() && rowOnScreen.intersects(barOnScreen))
                   ? row
                   : -1;
    }

    /// Waits until the pane at `index` selects `row` in view, then checks that it stays so.
    template <class List>::testing::AssertionResult showsSelectedInView(std::size_t index, int row) {
        const auto shows = [&] {
            const List* list = pane<List>(index);
            return list && visibleSelectedRow(*list) == row;
        };
        if (!QTest::qWaitFor(shows, 15000)) {
            const List* list = pane<List>(index);
            return ::testing::AssertionFailure()
                   << "row " << row
                   << " is not selected in view; selected: " << (list ? list->selectedRow() : -2)
                   << ", in view: " << (list ? visibleSelectedRow(*list) : -2);
        }
        QTest::qWait(steadyMs);
        if (!shows()) {
            return ::testing::AssertionFailure() << "row " << row << " did not stay selected in view";
        }
        return ::testing::AssertionSuccess();
    }

    /// A stored album and its songs, one of which, at `index` (the highest there is, and at least 6), is also
    /// among `others`.
    struct AlbumSong {
        LocalAlbum album;
        std::vector<LocalSong> songs;
        std::size_t index = 0;
    };
    AlbumSong albumSharingASongFarDown(const std::vector<LocalSong>& others) {
        std::set<std::string> shared;
        for (const LocalSong& song : others) {
            shared.insert(song.identifier);
        }
        auto read = environment->store().run([shared](MarrowbellCore::LocalDatabase& database) {
            const auto byTitle = MarrowbellCore::SortDescriptor<LocalAlbum>::keyPath(
                &LocalAlbum::title,
                [](const auto& lhs, const auto& rhs) { return std::weak_order(lhs, rhs); });
            AlbumSong found;
            for (const LocalAlbum& album : database.allAlbums(byTitle)) {
                auto songs = database.songs(album);
                for (std::size_t index = songs.size(); index-- > std::max(found.index, std::size_t{6});) {
                    if (shared.contains(songs[index].identifier)) {
                        found = {album, std::move(songs), index};
                        break;
                    }
                }
            }
            return found;
        });
        EXPECT_TRUE(finishes(read));
        return read.result();
    }

    /// Clicks the row of `identifier` in `albums` and waits for the detail pane to show `songs`.
    void openAlbum(AlbumList& albums, const std::string& identifier, const std::vector<LocalSong>& songs) {
        const auto& stored = models->albums->items.get();
        const int row =
            int(std::find_if(stored.begin(), stored.end(),
                             [&](const LocalAlbum& album) { return album.identifier == identifier; }) -
                stored.begin());
        albums.scrollTo(albums.model()->index(row, 0));
        QTest::mouseClick(albums.viewport(), Qt::LeftButton, {}, rowCenter(albums, row));
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                const SongList* detail = pane<SongList>(2);
                return detail && shownTitles(*detail) == songRowTitles(songs);
            },
            15000));
    }

    /// Chooses Playlists, which opens its first playlist, and waits until its songs show; gives them back.
    std::vector<LocalSong> openPlaylists() {
        chooseKind(ContainerKind::playlists);
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                const SongList* detail = pane<SongList>(2);
                return pane<PlaylistList>(1) && detail && model().navigationPath.get().size() == 3 &&
                       !model().detailSongs.get().empty() &&
                       shownTitles(*detail) == songRowTitles(model().detailSongs.get());
            },
            15000));
        return model().detailSongs.get();
    }

    std::unique_ptr<MainContentView> content;
};

TEST_F(SnapBackPaneTest, TheSongsListSelectsThePlayingSongFarDownAndShowsIt) {
    chooseKind(ContainerKind::songs);
    SongList* songs = waitForPane<SongList>(1);
    ASSERT_NE(songs, nullptr);
    ASSERT_TRUE(showsRows(*songs, int(librarySongs) + 2));
    const int playedRow = 2502;
    doubleClickRow(*songs, playedRow);
    ASSERT_TRUE(playerPlays());
    ASSERT_TRUE(QTest::qWaitFor([&] { return model().lastSavedSnapbackState.get().has_value(); }, 5000));

    // Scrolled back to the top, the played row is out of view; snap-back brings it back.
    songs->scrollToTop();
    ASSERT_EQ(visibleSelectedRow(*songs), -1);
    model().snapBack();
    EXPECT_TRUE(showsSelectedInView<SongList>(1, playedRow));

    // From another kind, the Songs list is built anew: it neither keeps its old place nor starts at the top.
    pane<SongList>(1)->scrollToTop();
    chooseKind(ContainerKind::albums);
    ASSERT_NE(waitForPane<AlbumList>(1), nullptr);
    settle();
    model().snapBack();
    EXPECT_TRUE(showsSelectedInView<SongList>(1, playedRow));
    EXPECT_EQ(model().selectedContainerKindID.get(), containerKindID(ContainerKind::songs));
}

TEST_F(SnapBackPaneTest, AnAlbumComesBackWithThePlayingSongSelectedInView) {
    // The playlist shown when leaving also holds the playing song, yet it is the album's row that is chosen.
    const std::vector<LocalSong> playlistSongs = openPlaylists();
    const AlbumSong played = albumSharingASongFarDown(playlistSongs);
    ASSERT_GE(played.index, 6u) << "an album shares a song with the first playlist";
    chooseKind(ContainerKind::albums);
    AlbumList* albums = waitForPane<AlbumList>(1);
    ASSERT_NE(albums, nullptr);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return rowCount(*albums) > 0 && rowCount(*albums) == int(models->albums->items.get().size()); },
        15000));
    openAlbum(*albums, played.album.identifier, played.songs);
    const int playedRow = int(played.index) + 2;
    ASSERT_NE(pane<SongList>(2), nullptr);
    doubleClickRow(*pane<SongList>(2), playedRow);
    ASSERT_TRUE(playerPlays());
    ASSERT_TRUE(QTest::qWaitFor([&] { return model().lastSavedSnapbackState.get().has_value(); }, 5000));

    openPlaylists();
    model().snapBack();
    EXPECT_TRUE(showsSelectedInView<SongList>(2, playedRow));
    EXPECT_EQ(shownTitles(*pane<SongList>(2)), songRowTitles(played.songs));
    EXPECT_EQ(model().activePane.get(), 2);

    // From another album of the same list, the played album's songs come back in place of that album's.
    const auto stored = models->albums->items.snapshot();
    const auto other = std::find_if(stored->begin(), stored->end(), [&](const LocalAlbum& album) {
        return album.identifier != played.album.identifier;
    });
    ASSERT_NE(other, stored->end());
    const LocalAlbum otherAlbum = *other;
    auto otherSongs = environment->store().run(
        [otherAlbum](MarrowbellCore::LocalDatabase& database) { return database.songs(otherAlbum); });
    ASSERT_TRUE(finishes(otherSongs));
    ASSERT_NE(pane<AlbumList>(1), nullptr);
    openAlbum(*pane<AlbumList>(1), otherAlbum.identifier, otherSongs.result());
    model().snapBack();
    EXPECT_TRUE(showsSelectedInView<SongList>(2, playedRow));
    EXPECT_EQ(shownTitles(*pane<SongList>(2)), songRowTitles(played.songs));
}

} // namespace
} // namespace Marrowbell::Testing
