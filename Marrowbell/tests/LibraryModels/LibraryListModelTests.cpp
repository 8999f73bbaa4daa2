#include "LibraryModelsTestFixture.h"
#include "Model/PlaybackError.h"
#include "SortOrderChecks.h"

#include <DemoService/DemoFault.h>
#include <chrono>
#include <set>

namespace Marrowbell::Testing {
namespace {

using MarrowbellCore::LocalAlbum;
using MarrowbellCore::LocalArtist;
using MarrowbellCore::LocalPlaylist;
using MarrowbellCore::LocalSong;

class LibraryListModelTest : public LibraryModelsTest {
protected:
    void SetUp() override {
        LibraryModelsTest::SetUp();
        syncWholeLibrary();
    }

    template <class Model> void loadList(Model& list) { ASSERT_TRUE(finishes(list.load(false))); }

    template <class Record> std::vector<LocalSong> storedSongs(const Record& container) {
        return inStore(
            [container](MarrowbellCore::LocalDatabase& database) { return database.songs(container); });
    }

    /// Selects `id` in the list of the kind and runs the selection handler, as the list does on a click.
    template <class Model>
    void select(Model& list, Observed<std::optional<QString>>& selection, const std::string& id) {
        selection.set(QString::fromStdString(id));
        list.loadSelectedSongs();
    }

    /// Waits until the detail column shows the collection `id`, `title` with songs `expected`.
    bool showsCollection(const std::string& id, const std::string& title,
                         const std::vector<std::string>& expected) {
        const auto collection =
            NavigationItem::songCollection(QString::fromStdString(id), QString::fromStdString(title));
        return QTest::qWaitFor(
            [&] {
                const auto& path = model->navigationPath.get();
                return path.size() == 3 && path[2] == collection &&
                       identifiersOf(model->detailSongs.get()) == expected;
            },
            20000);
    }

    static std::set<std::string> sorted(const std::vector<std::string>& identifiers) {
        return {identifiers.begin(), identifiers.end()};
    }

    std::vector<std::string> queuedSongIDs() const {
        std::vector<std::string> identifiers;
        for (const auto& entry : player->queue().entries()) {
            identifiers.push_back(entry.song() ? entry.song()->id.rawValue() : std::string("?"));
        }
        return identifiers;
    }

    /// A playlist of the demo library with at least `minimumTracks` tracks, and one without any.
    const DemoService::DemoLibrary::Playlist& playlistWithTracks(std::size_t minimumTracks) const {
        for (const auto& playlist : service->library().playlists) {
            if (playlist.tracks.size() >= minimumTracks) {
                return playlist;
            }
        }
        throw std::runtime_error("no such playlist");
    }
};

TEST_F(LibraryListModelTest, EachKindListsWhatTheLibraryHoldsInEveryOrder) {
    const auto& library = service->library();
    std::set<std::string> albumIDs, artistIDs, playlistIDs;
    for (const auto& album : library.albums) {
        albumIDs.insert(album.id);
    }
    for (const auto& artist : library.artists) {
        artistIDs.insert(artist.id);
    }
    for (const auto& playlist : library.playlists) {
        playlistIDs.insert(playlist.id);
    }
    EXPECT_EQ(albums->sortOrder(), AlbumSortOrder::title) << "nothing stored";
    EXPECT_EQ(artists->sortOrder(), ArtistsSortOrder::name);
    EXPECT_EQ(playlists->sortOrder(), PlaylistSortOrder::title);

    OrderFacts seen;
    auto note = [&seen](const OrderFacts& facts) {
        seen.absentKeys += facts.absentKeys;
        seen.equalNeighbours += facts.equalNeighbours;
    };
    for (const MusicSortDirection direction : allMusicSortDirections) {
        const std::string way = " " + sortTitle(direction).toStdString();
        for (const AlbumSortOrder order : allAlbumSortOrders) {
            albums->setSortOrder(order);
            albums->setSortDirection(direction);
            loadList(*albums);
            const auto& shown = albums->items.get();
            EXPECT_EQ(sorted(identifiersOf(shown)), albumIDs);
            const std::string what = "albums by " + sortTitle(order).toStdString() + way;
            switch (order) {
            case AlbumSortOrder::title:
                note(expectOrdered(
                    shown, [](const LocalAlbum& album) { return std::optional(album.title); }, direction,
                    what));
                break;
            case AlbumSortOrder::artist:
                note(expectOrdered(
                    shown, [](const LocalAlbum& album) { return album.artistName; }, direction, what));
                break;
            case AlbumSortOrder::genre:
                note(expectOrdered(
                    shown, [](const LocalAlbum& album) { return album.genre; }, direction, what));
                break;
            case AlbumSortOrder::releaseDate:
                note(expectOrdered(
                    shown, [](const LocalAlbum& album) { return dateKey(album.releaseDate); }, direction,
                    what));
                break;
            case AlbumSortOrder::dateAdded:
                note(expectOrdered(
                    shown, [](const LocalAlbum& album) { return dateKey(album.dateAdded); }, direction,
                    what));
                break;
            }
        }
        for (const ArtistsSortOrder order : allArtistsSortOrders) {
            artists->setSortOrder(order);
            artists->setSortDirection(direction);
            loadList(*artists);
            const auto& shown = artists->items.get();
            EXPECT_EQ(sorted(identifiersOf(shown)), artistIDs);
            const std::string what = "artists by " + sortTitle(order).toStdString() + way;
            if (order == ArtistsSortOrder::name) {
                note(expectOrdered(
                    shown, [](const LocalArtist& artist) { return std::optional(artist.name); }, direction,
                    what));
            } else {
                note(expectOrdered(
                    shown, [](const LocalArtist& artist) { return artist.genre; }, direction, what));
            }
        }
        for (const PlaylistSortOrder order : allPlaylistSortOrders) {
            playlists->setSortOrder(order);
            playlists->setSortDirection(direction);
            loadList(*playlists);
            const auto& shown = playlists->items.get();
            EXPECT_EQ(sorted(identifiersOf(shown)), playlistIDs);
            const std::string what = "playlists by " + sortTitle(order).toStdString() + way;
            if (order == PlaylistSortOrder::title) {
                note(expectOrdered(
                    shown, [](const LocalPlaylist& playlist) { return std::optional(playlist.name); },
                    direction, what));
            } else {
                note(expectOrdered(
                    shown, [](const LocalPlaylist& playlist) { return dateKey(playlist.dateAdded); },
                    direction, what));
            }
        }
    }
    // The demo library's containers all carry these keys (absent keys are checked on the songs); they share
    // genres, artists and dates.
    EXPECT_GT(seen.equalNeighbours, 0u);

    environment->defaults().setValue(DefaultsKeys::sortAlbumsBy, 5);
    environment->defaults().setValue(DefaultsKeys::sortArtistsBy, -1);
    environment->defaults().setValue(DefaultsKeys::sortPlaylistsDirection, 2);
    EXPECT_EQ(albums->sortOrder(), AlbumSortOrder::title) << "an unknown stored value";
    EXPECT_EQ(artists->sortOrder(), ArtistsSortOrder::name);
    EXPECT_EQ(playlists->sortDirection(), MusicSortDirection::ascending);
}

TEST_F(LibraryListModelTest, TheNewestSortOrderWinsOverListLoadsStillUnderWay) {
    artists->setSortOrder(ArtistsSortOrder::genre);
    artists->setSortOrder(ArtistsSortOrder::name);
    artists->setSortDirection(MusicSortDirection::descending);
    loadList(*artists);
    QTest::qWait(100);
    ASSERT_FALSE(artists->items.get().empty());
    expectOrdered(
        artists->items.get(), [](const LocalArtist& artist) { return std::optional(artist.name); },
        MusicSortDirection::descending, "artists by name descending");
}

TEST_F(LibraryListModelTest, AListSyncsAtMostOnceADayAndAFutureTimeIsDue) {
    const std::string playlistsPath = "/v1/me/library/playlists?";
    ASSERT_TRUE(finishes(playlists->load(true)));
    EXPECT_GT(requestsFor(playlistsPath), 0u) << "never synced";
    EXPECT_EQ(model->selectedPlaylistID.get(),
              QString::fromStdString(playlists->items.get().front().identifier));

    service->reset();
    ASSERT_TRUE(finishes(playlists->load(true)));
    EXPECT_EQ(requestsFor(playlistsPath), 0u) << "synced just now";
    setLastRefresh(DefaultsKeys::lastPlaylistSync, -7200);
    ASSERT_TRUE(finishes(playlists->load(true)));
    EXPECT_GT(requestsFor(playlistsPath), 0u) << "a time in the future is due";

    service->reset();
    setLastRefresh(DefaultsKeys::lastPlaylistSync, 86000);
    ASSERT_TRUE(finishes(playlists->load(true)));
    EXPECT_EQ(requestsFor(playlistsPath), 0u);
    setLastRefresh(DefaultsKeys::lastPlaylistSync, 86401);
    ASSERT_TRUE(finishes(playlists->load(true)));
    EXPECT_GT(requestsFor(playlistsPath), 0u);
}

TEST_F(LibraryListModelTest, OpeningAContainerShowsItsSongsInStoredOrderAndSyncsThemOnceADay) {
    showKind(ContainerKind::albums);
    loadList(*albums);
    const LocalAlbum first = albums->items.get()[0];
    const LocalAlbum second = albums->items.get()[1];
    const auto tracksOf = [](const LocalAlbum& album) {
        return "/v1/me/library/albums/" + album.identifier + "/tracks";
    };

    select(*albums, model->selectedAlbumID, first.identifier);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return albums->selectedSongs().size() > 0 && requestsFor(tracksOf(first)) > 0; }, 20000));
    ASSERT_TRUE(finishes(albums->playSelected()));
    const auto expected = identifiersOf(storedSongs(first));
    ASSERT_FALSE(expected.empty());
    EXPECT_TRUE(showsCollection(first.identifier, first.title, expected));
    EXPECT_EQ(model->selectedDetailSongID.get(), QStringLiteral("play"));
    EXPECT_GT(environment->defaults().doubleValue(QStringLiteral("lastAlbumTrackSync-") +
                                                  QString::fromStdString(first.identifier)),
              0.0);

    select(*albums, model->selectedAlbumID, second.identifier);
    EXPECT_TRUE(showsCollection(second.identifier, second.title, identifiersOf(storedSongs(second))));
    const std::size_t firstTrackRequests = requestsFor(tracksOf(first));
    select(*albums, model->selectedAlbumID, first.identifier);
    EXPECT_TRUE(showsCollection(first.identifier, first.title, expected));
    QTest::qWait(200);
    EXPECT_EQ(requestsFor(tracksOf(first)), firstTrackRequests) << "synced within the day";
}

TEST_F(LibraryListModelTest, ANewlySelectedContainerWithoutStoredSongsShowsNoneUnderItsOwnTitle) {
    showKind(ContainerKind::playlists);
    loadList(*playlists);
    const auto& withTracks = playlistWithTracks(2);
    const auto* empty = &playlists->items.get().front();
    for (const auto& playlist : playlists->items.get()) {
        if (playlist.identifier != withTracks.id) {
            empty = &playlist;
            break;
        }
    }
    const LocalPlaylist other = *empty;
    select(*playlists, model->selectedPlaylistID, withTracks.id);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return model->detailSongs.get().size() == withTracks.tracks.size(); }, 20000));

    setLastRefresh(QStringLiteral("lastPlaylistTrackSync-") + QString::fromStdString(other.identifier), 60);
    ASSERT_TRUE(storedSongs(other).empty());
    select(*playlists, model->selectedPlaylistID, other.identifier);
    EXPECT_TRUE(showsCollection(other.identifier, other.name, {}));
    EXPECT_TRUE(playlists->selectedSongs().empty());
}

TEST_F(LibraryListModelTest, WhenEveryPlaylistIsGoneNoneIsSelectedAndNoSongsShow) {
    showKind(ContainerKind::playlists);
    loadList(*playlists);
    const auto& withTracks = playlistWithTracks(2);
    select(*playlists, model->selectedPlaylistID, withTracks.id);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return model->detailSongs.get().size() == withTracks.tracks.size(); }, 20000));

    // What a full sync stores when the service lists no playlist.
    EXPECT_EQ(inStore([](MarrowbellCore::LocalDatabase& database) {
                  database.sync(std::vector<MarrowbellCore::IncomingPlaylist>{});
                  return database.allPlaylists().size();
              }),
              0u);
    ASSERT_TRUE(finishes(playlists->reloadIfLoaded()));
    EXPECT_TRUE(playlists->items.get().empty());
    EXPECT_FALSE(model->selectedPlaylistID.get());
    EXPECT_TRUE(showsCollection("", "", {}));
}

TEST_F(LibraryListModelTest, ASupersededSelectionInstallsNothing) {
    showKind(ContainerKind::playlists);
    loadList(*playlists);
    const auto& slow = playlistWithTracks(2);
    LocalPlaylist current;
    for (const auto& playlist : playlists->items.get()) {
        if (playlist.identifier != slow.id) {
            current = playlist;
            break;
        }
    }
    setLastRefresh(QStringLiteral("lastPlaylistTrackSync-") + QString::fromStdString(current.identifier), 60);
    service->injectFault(1, DemoService::DemoFault::delayed(std::chrono::milliseconds(600)));

    select(*playlists, model->selectedPlaylistID, slow.id);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return requestsFor("/v1/me/library/playlists/" + slow.id) == 1u; }, 5000))
        << "the slow playlist's sync is under way";
    select(*playlists, model->selectedPlaylistID, current.identifier);
    EXPECT_TRUE(showsCollection(current.identifier, current.name, {}));
    QTest::qWait(1000);
    EXPECT_TRUE(showsCollection(current.identifier, current.name, {})) << "the late answer is dropped";
}

TEST_F(LibraryListModelTest, PlayingAContainerQueuesItsSongsFromTheFirstOrShuffled) {
    ASSERT_TRUE(albums->items.get().empty());
    const auto& libraryAlbum = service->library().albums.front();
    const QString albumID = QString::fromStdString(libraryAlbum.id);
    ASSERT_TRUE(finishes(albums->play(albumID, false))) << "the list is loaded first";
    const auto album =
        std::find_if(albums->items.get().begin(), albums->items.get().end(),
                     [&](const LocalAlbum& item) { return item.identifier == libraryAlbum.id; });
    ASSERT_NE(album, albums->items.get().end());
    const auto expected = identifiersOf(storedSongs(*album));
    EXPECT_EQ(queuedSongIDs(), expected);
    ASSERT_TRUE(model->eagerEntry.get());
    EXPECT_EQ(model->eagerEntry.get()->identifier, expected.front());
    EXPECT_EQ(player->state().shuffleMode(), std::nullopt);

    ASSERT_TRUE(finishes(albums->play(albumID, true)));
    EXPECT_EQ(player->state().shuffleMode(), MusicKit::MusicPlayerShuffleMode::songs);
    EXPECT_FALSE(model->eagerEntry.get());

    const auto queued = queuedSongIDs();
    QFuture<void> unknown = albums->play(QStringLiteral("no-such-album"), false);
    ASSERT_TRUE(finishes(unknown));
    EXPECT_THROW(unknown.waitForFinished(), PlaybackError);
    EXPECT_EQ(queuedSongIDs(), queued);
}

TEST_F(LibraryListModelTest, TheDoubleClickWaitsForTheSelectionThenPlaysFromTheTop) {
    showKind(ContainerKind::artists);
    loadList(*artists);
    const LocalArtist artist = artists->items.get()[1];
    select(*artists, model->selectedArtistID, artist.identifier);
    ASSERT_TRUE(finishes(artists->playSelected()));
    const auto expected = identifiersOf(storedSongs(artist));
    ASSERT_FALSE(expected.empty());
    EXPECT_TRUE(showsCollection(artist.identifier, artist.name, expected));
    EXPECT_EQ(model->selectedDetailSongID.get(), QStringLiteral("play"));
    const std::size_t queued = std::min<std::size_t>(expected.size(), 200);
    EXPECT_EQ(queuedSongIDs(), std::vector<std::string>(expected.begin(), expected.begin() + queued));
    ASSERT_TRUE(model->lastSavedSnapbackState.get());
    EXPECT_EQ(model->lastSavedSnapbackState.get()->selectedArtistID,
              QString::fromStdString(artist.identifier));
}

} // namespace
} // namespace Marrowbell::Testing
