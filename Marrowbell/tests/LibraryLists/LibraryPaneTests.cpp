#include "Artwork/ArtworkPainting.h"
#include "LibraryLists/LibraryLists.h"
#include "LibraryLists/RecommendationLists.h"
#include "LibraryListsTestFixture.h"
#include "LibraryModels/LibraryKind.h"
#include "LibraryModels/RefreshThrottle.h"

#include <Foundation/Date.h>
#include <QSignalSpy>

namespace Marrowbell::Testing {
namespace {

using MarrowbellCore::LocalAlbum;
using MarrowbellCore::LocalArtist;
using MarrowbellCore::LocalPlaylist;

template <class Record> QStringList titlesOf(const std::vector<Record>& records) {
    QStringList titles;
    for (const Record& record : records) {
        titles << rowTitle(record);
    }
    return titles;
}

class LibraryPaneTest : public LibraryListsTest {
protected:
    // The full sync has just stored the containers: a pane's own daily sync, and the reload that follows
    // it, would replace what a test hands the list or writes to the store.
    void SetUp() override {
        LibraryListsTest::SetUp();
        for (const QLatin1StringView key :
             {DefaultsKeys::lastPlaylistSync, DefaultsKeys::lastAlbumSync, DefaultsKeys::lastArtistSync}) {
            RefreshThrottle::markRefreshed(environment->defaults(), key);
        }
    }

    /// The kind's containers as the store holds them, in the list model's order.
    template <class Record>
    std::vector<Record> storedContainers(const LibraryListViewModel<Record>& containers) {
        auto read = environment->store().run(
            [descriptor = containers.sortDescriptor()](MarrowbellCore::LocalDatabase& database) {
                return LibraryKind<Record>::readAll(database, descriptor);
            });
        EXPECT_TRUE(finishes(read));
        return read.result();
    }

    template <class Record>
    void expectPaneListsTheStore(CollectionListController<Record>& list,
                                 const LibraryListViewModel<Record>& containers) {
        const std::vector<Record> stored = storedContainers(containers);
        ASSERT_FALSE(stored.empty());
        ASSERT_TRUE(showsRows(list, int(stored.size())));
        EXPECT_EQ(shownTitles(list), titlesOf(stored));
        EXPECT_EQ(cellAt(list, 0).artworkUniqueID, QString::fromStdString(stored.front().thumbnailID()));
        EXPECT_EQ(contextMenuOf(list, 0), (QStringList{QStringLiteral("Play"), QStringLiteral("Shuffle")}));
    }
};

TEST_F(LibraryPaneTest, EachLibraryKindsPaneListsItsStoredContainersWithTheirOwnLook) {
    auto& playlists = showKind<PlaylistList>(ContainerKind::playlists);
    expectPaneListsTheStore(playlists, *models->playlists);
    EXPECT_TRUE(cellAt(playlists, 0).subtitle.isEmpty());

    auto& albums = showKind<AlbumList>(ContainerKind::albums);
    expectPaneListsTheStore(albums, *models->albums);
    const LocalAlbum album = models->albums->items.get().front();
    EXPECT_EQ(cellAt(albums, 0).subtitle, QString::fromStdString(album.artistName.value_or(std::string())));
    EXPECT_EQ(cellAt(albums, 0).artworkStyle, ArtworkStyle::roundedRect);

    auto& artists = showKind<ArtistList>(ContainerKind::artists);
    expectPaneListsTheStore(artists, *models->artists);
    EXPECT_EQ(cellAt(artists, 0).artworkStyle, ArtworkStyle::circular);
}

TEST_F(LibraryPaneTest, AnEqualUpdateKeepsTheTableAndAChangedAlbumShowsItsOwnTexts) {
    auto& albums = showKind<AlbumList>(ContainerKind::albums);
    ASSERT_TRUE(showsRows(albums, int(storedContainers(*models->albums).size())));
    QSignalSpy resets(albums.model(), &QAbstractItemModel::modelReset);

    std::vector<LocalAlbum> same(models->albums->items.get().begin(), models->albums->items.get().end());
    models->albums->items.set(MarrowbellCore::SortedRecords(same));
    settle();
    EXPECT_EQ(resets.count(), 0);

    // Equal by identifier, yet read differently: the row shows the new title and no stale artist.
    ASSERT_TRUE(same.front().artistName.has_value());
    same.front().artistName.reset();
    same.front().title = "Renamed";
    models->albums->items.set(MarrowbellCore::SortedRecords(same));
    settle();
    EXPECT_EQ(resets.count(), 0);
    EXPECT_EQ(shownTitles(albums).front(), QStringLiteral("Renamed"));
    EXPECT_TRUE(cellAt(albums, 0).subtitle.isEmpty());

    same.pop_back();
    models->albums->items.set(MarrowbellCore::SortedRecords(same));
    settle();
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(rowCount(albums), int(same.size()));
}

TEST_F(LibraryPaneTest, UpdateLibraryShowsARenamedAddedAndRemovedPlaylistAtOnce) {
    auto& playlists = showKind<PlaylistList>(ContainerKind::playlists);
    const std::vector<LocalPlaylist> served = storedContainers(*models->playlists);
    ASSERT_GE(served.size(), 3u);
    const LocalPlaylist& renamed = served[1];
    // The store as an earlier run left it: since then the service renamed one playlist, added one and
    // removed one.
    const auto storeEarlierLibrary = [&] {
        auto write = environment->store().run([&](MarrowbellCore::LocalDatabase& database) {
            // Its artwork address no longer answers, as the demo's after a start on another port.
            database.insert(std::vector{
                MarrowbellCore::IncomingPlaylist{renamed.identifier, "Old Name", std::nullopt,
                                                 Foundation::URL::fromString("http://127.0.0.1:9/old.png")}});
            database.removePlaylists({served[2].identifier});
            database.insert(std::vector{MarrowbellCore::IncomingPlaylist{"p.gone", "Gone Playlist"}});
        });
        ASSERT_TRUE(finishes(write));
        ASSERT_TRUE(finishes(models->playlists->load(false)));
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return shownTitles(playlists).contains(QStringLiteral("Gone Playlist")); }, 10000));
    };
    const auto selectRowTitled = [&](const QString& title) {
        const int row = int(shownTitles(playlists).indexOf(title));
        ASSERT_GE(row, 0);
        QTest::mouseClick(playlists.viewport(), Qt::LeftButton, {}, rowCenter(playlists, row));
    };

    storeEarlierLibrary();
    selectRowTitled(QStringLiteral("Old Name"));
    ASSERT_TRUE(finishes(model().performFullSync(), 60000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return shownTitles(playlists) == titlesOf(served); }, 10000));
    EXPECT_EQ(model().selectedPlaylistID.get(), QString::fromStdString(renamed.identifier));
    ASSERT_GE(playlists.selectedRow(), 0);
    EXPECT_EQ(shownTitles(playlists)[playlists.selectedRow()], QString::fromStdString(renamed.name));
    // Its artwork, which failed to load, loads from the address the sync stored.
    const int row = playlists.selectedRow();
    const QRectF artwork = playlists.cellPainter()
                               ->layoutInRow(cellAt(playlists, row),
                                             playlists.visualRect(playlists.model()->index(row, 0)), false)
                               .artwork;
    const QPoint inArtwork =
        (artwork.topLeft() + QPointF(artwork.width() / 4, artwork.height() / 4)).toPoint();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return playlists.viewport()->grab().toImage().pixelColor(inArtwork) !=
                   artworkBackgroundColor(playlists.viewport()->palette());
        },
        10000));

    // A selected playlist that the service removed cannot stay selected: the first one takes its place.
    storeEarlierLibrary();
    selectRowTitled(QStringLiteral("Gone Playlist"));
    ASSERT_TRUE(finishes(model().performFullSync(), 60000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return shownTitles(playlists) == titlesOf(served); }, 10000));
    EXPECT_EQ(model().selectedPlaylistID.get(), QString::fromStdString(served.front().identifier));
    EXPECT_EQ(playlists.selectedRow(), 0);
    const auto opened = NavigationItem::songCollection(QString::fromStdString(served.front().identifier),
                                                       QString::fromStdString(served.front().name));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return model().navigationPath.get().size() == 3 && model().navigationPath.get()[2] == opened; },
        10000));
}

TEST_F(LibraryPaneTest, TheMenuShufflesTheClickedContainer) {
    auto& artists = showKind<ArtistList>(ContainerKind::artists);
    ASSERT_TRUE(showsRows(artists, int(storedContainers(*models->artists).size())));
    const int selected = artists.selectedRow();
    contextMenuOf(artists, 1, QStringLiteral("Shuffle"));
    ASSERT_TRUE(playerPlays());
    EXPECT_EQ(artists.selectedRow(), selected) << "the right-click selects nothing";
    EXPECT_EQ(player().state().shuffleMode(), MusicKit::MusicPlayerShuffleMode::songs);
    EXPECT_FALSE(queuedTitles().isEmpty());
    EXPECT_FALSE(model().showPlayError.get());
}

TEST_F(LibraryPaneTest, AMenuPlayThatFailsRaisesThePlayErrorAndLeavesThePlayerAlone) {
    auto& playlists = showKind<PlaylistList>(ContainerKind::playlists);
    ASSERT_TRUE(showsRows(playlists, int(storedContainers(*models->playlists).size())));
    // A playlist the store holds no songs for, refreshed a moment ago: there is nothing to play.
    LocalPlaylist empty{.pk = -1, .identifier = "no-songs-here", .name = "Empty"};
    environment->defaults().setValue(QString(DefaultsKeys::lastPlaylistTrackSyncPrefix) +
                                         QStringLiteral("no-songs-here"),
                                     Foundation::Date::now().timeIntervalSinceReferenceDate);
    models->playlists->items.set(MarrowbellCore::SortedRecords(std::vector{empty}));
    ASSERT_TRUE(showsRows(playlists, 1));

    contextMenuOf(playlists, 0, QStringLiteral("Play"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return model().showPlayError.get(); }, 15000));
    EXPECT_TRUE(queuedTitles().isEmpty());
}

TEST_F(LibraryPaneTest, RecommendationPanesListTheirItemsAndPlayTheSelectedOne) {
    auto& madeForYou = showKind<RecommendationList>(ContainerKind::madeForYou);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !models->madeForYou->items.get().empty(); }, 15000));
    ASSERT_TRUE(showsRows(madeForYou, int(models->madeForYou->items.get().size())));
    const auto items = models->madeForYou->items.get();
    EXPECT_EQ(shownTitles(madeForYou), titlesOf(items));
    EXPECT_EQ(cellAt(madeForYou, 0).artworkUniqueID, QString::fromStdString(items.front().id.rawValue()));
    EXPECT_FALSE(cellAt(madeForYou, 0).canShowChevron);
    EXPECT_EQ(contextMenuOf(madeForYou, 0), (QStringList{QStringLiteral("Play"), QStringLiteral("Shuffle")}));

    doubleClickRow(madeForYou, 0);
    ASSERT_TRUE(playerPlays());
    EXPECT_EQ(player().state().shuffleMode(), std::nullopt);
    EXPECT_EQ(model().selectedMadeForYouID.get(), items.front().id);

    auto& stations = showKind<RecommendationList>(ContainerKind::stations);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !models->stations->items.get().empty(); }, 15000));
    ASSERT_TRUE(showsRows(stations, int(models->stations->items.get().size())));
    EXPECT_EQ(shownTitles(stations), titlesOf(models->stations->items.get()));
    EXPECT_EQ(contextMenuOf(stations, 0), QStringList{QStringLiteral("Play")});

    // A selection made elsewhere (a search hit, a snap-back) moves the row.
    if (models->stations->items.get().size() > 1) {
        model().selectedStationID.set(models->stations->items.get()[1].id);
        settle();
        EXPECT_EQ(stations.selectedRow(), 1);
    }
}

} // namespace
} // namespace Marrowbell::Testing
