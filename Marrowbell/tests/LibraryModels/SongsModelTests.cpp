#include "LibraryModelsTestFixture.h"
#include "Model/PlaybackError.h"
#include "SortOrderChecks.h"

#include <MusicKit/MusicPlayerState.h>
#include <functional>
#include <map>

namespace Marrowbell::Testing {
namespace {

using MarrowbellCore::LocalSong;
using SongKey = std::function<std::optional<std::string>(const LocalSong&)>;
using SongNumberKey = std::function<std::optional<double>(const LocalSong&)>;

class SongsModelTest : public LibraryModelsTest {
protected:
    void SetUp() override {
        LibraryModelsTest::SetUp();
        syncWholeLibrary();
        setLastRefresh(DefaultsKeys::lastSongSync, 60);
        showKind(ContainerKind::songs);
    }

    void loadSongs() { ASSERT_TRUE(finishes(songs->load(false))); }

    std::vector<std::string> queuedSongIDs() const {
        std::vector<std::string> identifiers;
        for (const auto& entry : player->queue().entries()) {
            identifiers.push_back(entry.song() ? entry.song()->id.rawValue() : std::string("?"));
        }
        return identifiers;
    }

    static std::vector<std::string> slice(const std::vector<LocalSong>& all, std::size_t first,
                                          std::size_t end) {
        return identifiersOf(std::vector<LocalSong>(all.begin() + first, all.begin() + end));
    }
};

TEST_F(SongsModelTest, TheSongsListHoldsEveryLibrarySongInEveryOrder) {
    EXPECT_EQ(songs->sortOrder(), SongSortOrder::album) << "nothing stored sorts by album";
    EXPECT_EQ(songs->sortDirection(), MusicSortDirection::ascending);
    environment->defaults().setValue(DefaultsKeys::sortSongsBy, 9);
    EXPECT_EQ(songs->sortOrder(), SongSortOrder::title);

    std::vector<std::string> expected;
    for (const auto& song : service->library().songs) {
        expected.push_back(song.id);
    }
    std::sort(expected.begin(), expected.end());

    const std::map<SongSortOrder, SongKey> textKeys{
        {SongSortOrder::album, [](const LocalSong& song) { return song.albumTitle; }},
        {SongSortOrder::artist, [](const LocalSong& song) { return song.artistName; }},
        {SongSortOrder::genre, [](const LocalSong& song) { return song.genre; }},
        {SongSortOrder::title, [](const LocalSong& song) { return std::optional(song.title); }}};
    const std::map<SongSortOrder, SongNumberKey> numberKeys{
        {SongSortOrder::dateAdded,
         [](const LocalSong& song) {
             return song.order ? std::optional(static_cast<double>(*song.order)) : std::nullopt;
         }},
        {SongSortOrder::duration, [](const LocalSong& song) { return std::optional(song.duration); }},
        {SongSortOrder::releaseDate, [](const LocalSong& song) { return dateKey(song.releaseDate); }}};

    OrderFacts seen;
    for (const SongSortOrder order : allSongSortOrders) {
        for (const MusicSortDirection direction : allMusicSortDirections) {
            songs->setSortOrder(order);
            songs->setSortDirection(direction);
            loadSongs();
            const auto& shown = model->topLevelSongs.get();
            auto identifiers = identifiersOf(shown);
            std::sort(identifiers.begin(), identifiers.end());
            EXPECT_EQ(identifiers, expected);
            const std::string what =
                sortTitle(order).toStdString() + " " + sortTitle(direction).toStdString();
            const OrderFacts facts = textKeys.contains(order)
                                         ? expectOrdered(shown, textKeys.at(order), direction, what)
                                         : expectOrdered(shown, numberKeys.at(order), direction, what);
            seen.absentKeys += facts.absentKeys;
            seen.equalNeighbours += facts.equalNeighbours;
        }
    }
    EXPECT_GT(seen.absentKeys, 0u) << "the library has songs without a release date";
    EXPECT_GT(seen.equalNeighbours, 0u) << "the library has songs of one album, artist and genre";
    EXPECT_EQ(model->selectedTopLevelSongID.get(), QStringLiteral("play"));
    EXPECT_EQ(songs->rows().size(), expected.size() + 2);
}

TEST_F(SongsModelTest, TheNewestSortOrderWinsOverLoadsStillUnderWay) {
    songs->setSortOrder(SongSortOrder::genre);
    songs->setSortOrder(SongSortOrder::title);
    songs->setSortDirection(MusicSortDirection::descending);
    loadSongs();
    QTest::qWait(100);
    expectOrdered(
        model->topLevelSongs.get(), [](const LocalSong& song) { return std::optional(song.title); },
        MusicSortDirection::descending, "title descending");
}

TEST_F(SongsModelTest, TheLibrarysSongsSyncAtMostOnceADayAndAFutureTimeIsDue) {
    const std::string songsPath = "/v1/me/library/songs";
    ASSERT_TRUE(finishes(songs->load(true)));
    EXPECT_EQ(requestsFor(songsPath), 0u) << "synced a minute ago";

    setLastRefresh(DefaultsKeys::lastSongSync, -3600);
    ASSERT_TRUE(finishes(songs->load(true)));
    EXPECT_GT(requestsFor(songsPath), 0u) << "a time in the future does not block the sync";
    const double synced = environment->defaults().doubleValue(DefaultsKeys::lastSongSync);
    EXPECT_NEAR(synced, Foundation::Date::now().timeIntervalSinceReferenceDate, 60.0);

    service->reset();
    setLastRefresh(DefaultsKeys::lastSongSync, 86000);
    ASSERT_TRUE(finishes(songs->load(true)));
    EXPECT_EQ(requestsFor(songsPath), 0u);
    setLastRefresh(DefaultsKeys::lastSongSync, 86401);
    ASSERT_TRUE(finishes(songs->load(true)));
    EXPECT_GT(requestsFor(songsPath), 0u);
}

TEST_F(SongsModelTest, TheListShowsWhatItsOwnSyncStored) {
    // The first full sync broke off before the songs: the store holds none of them.
    inStore([](MarrowbellCore::LocalDatabase& database) {
        database.removeSongs(database.allSongIdentifiers());
        return 0;
    });
    setLastRefresh(DefaultsKeys::lastSongSync, 86401);
    ASSERT_TRUE(finishes(songs->load(true), 60000));
    EXPECT_EQ(model->topLevelSongs.get().size(), service->library().songs.size());
    EXPECT_EQ(songs->rows().size(), service->library().songs.size() + 2) << "with Play and Shuffle";
}

TEST_F(SongsModelTest, PlayingARowQueuesAtMost200SongsFromItWhetherOrNotShuffleWasOn) {
    songs->setSortOrder(SongSortOrder::title);
    loadSongs();
    const std::vector<LocalSong> shown(model->topLevelSongs.get().begin(), model->topLevelSongs.get().end());
    ASSERT_GE(shown.size(), 450u);

    model->setShuffled(true);
    const QString chosen = QString::fromStdString(shown[250].identifier);
    ASSERT_TRUE(finishes(songs->play(chosen)));
    EXPECT_EQ(queuedSongIDs(), slice(shown, 250, 450));
    EXPECT_EQ(player->state().shuffleMode(), std::nullopt);
    EXPECT_EQ(player->queue().currentEntry()->song()->id.rawValue(), shown[250].identifier)
        << "the chosen song plays first";
    EXPECT_EQ(player->state().playbackStatus(), MusicKit::MusicPlayerPlaybackStatus::playing);
    EXPECT_FALSE(model->isStopped.get());
    EXPECT_EQ(model->playingTitle.get(), QString::fromStdString(shown[250].title));
    EXPECT_EQ(model->queue.get().front().song()->id.rawValue(), shown[250].identifier);
    ASSERT_TRUE(model->eagerEntry.get());
    EXPECT_EQ(model->eagerEntry.get()->identifier, shown[250].identifier);
    ASSERT_TRUE(model->lastSavedSnapbackState.get()) << "the place of what plays is recorded";

    ASSERT_TRUE(finishes(songs->play(QStringLiteral("play"))));
    EXPECT_EQ(queuedSongIDs(), slice(shown, 0, 200));
    EXPECT_EQ(model->eagerEntry.get()->identifier, shown.front().identifier);

    ASSERT_TRUE(finishes(songs->play(QStringLiteral("shuffle"))));
    auto shuffled = queuedSongIDs();
    std::sort(shuffled.begin(), shuffled.end());
    auto firstTwoHundred = slice(shown, 0, 200);
    std::sort(firstTwoHundred.begin(), firstTwoHundred.end());
    EXPECT_EQ(shuffled, firstTwoHundred);
    EXPECT_EQ(player->state().shuffleMode(), MusicKit::MusicPlayerShuffleMode::songs);
    EXPECT_FALSE(model->eagerEntry.get()) << "the player says which song shuffle starts with";
}

TEST_F(SongsModelTest, PlayingBeforeTheListWasLoadedLoadsItFirst) {
    ASSERT_TRUE(model->topLevelSongs.get().empty());
    ASSERT_TRUE(finishes(songs->play(QStringLiteral("play"))));
    ASSERT_FALSE(model->topLevelSongs.get().empty());
    EXPECT_EQ(queuedSongIDs().front(), model->topLevelSongs.get().front().identifier);
}

TEST_F(SongsModelTest, AnIdentifierOfNoSongFailsAndLeavesThePlayerAlone) {
    loadSongs();
    ASSERT_TRUE(finishes(songs->play(QStringLiteral("play"))));
    const auto queued = queuedSongIDs();
    const auto eager = model->eagerEntry.get();

    QFuture<void> played = songs->play(QStringLiteral("no-such-song"));
    ASSERT_TRUE(finishes(played));
    EXPECT_THROW(played.waitForFinished(), PlaybackError);
    EXPECT_EQ(queuedSongIDs(), queued);
    EXPECT_EQ(model->eagerEntry.get(), eager);

    // The detail list reports the failure itself.
    showKind(ContainerKind::albums);
    const auto& shown = model->topLevelSongs.get();
    detail->showSongs(ContainerKind::albums, {shown.begin(), shown.end()}, QStringLiteral("album"),
                      QStringLiteral("A"));
    ASSERT_TRUE(finishes(detail->play(QStringLiteral("no-such-song"))));
    EXPECT_TRUE(model->showPlayError.get());
    EXPECT_EQ(queuedSongIDs(), queued);
}

TEST_F(SongsModelTest, ShownSongsReplaceTheOpenedCollectionAndRestoreASnapBackSelection) {
    loadSongs();
    const std::vector<LocalSong> all(model->topLevelSongs.get().begin(), model->topLevelSongs.get().end());
    showKind(ContainerKind::albums);
    const std::vector<LocalSong> first(all.begin(), all.begin() + 3);
    const std::vector<LocalSong> second(all.begin() + 3, all.begin() + 6);

    detail->showSongs(ContainerKind::albums, first, QStringLiteral("a1"), QStringLiteral("One"));
    EXPECT_EQ(model->navigationPath.get().back(),
              NavigationItem::songCollection(QStringLiteral("a1"), QStringLiteral("One")));
    EXPECT_EQ(model->selectedDetailSongID.get(), QStringLiteral("play"));

    model->detailSongIDToRestore = QString::fromStdString(second[1].identifier);
    detail->showSongs(ContainerKind::albums, second, QStringLiteral("a2"), QStringLiteral("Two"));
    EXPECT_EQ(model->navigationPath.get().size(), 3u);
    EXPECT_EQ(model->navigationPath.get().back(),
              NavigationItem::songCollection(QStringLiteral("a2"), QStringLiteral("Two")));
    EXPECT_EQ(identifiersOf(model->detailSongs.get()), identifiersOf(second));
    EXPECT_EQ(model->selectedDetailSongID.get(), QString::fromStdString(second[1].identifier));
    EXPECT_FALSE(model->detailSongIDToRestore);

    detail->showSongs(ContainerKind::playlists, first, QStringLiteral("p"), QStringLiteral("P"));
    EXPECT_EQ(identifiersOf(model->detailSongs.get()), identifiersOf(second)) << "another kind is shown";
}

} // namespace
} // namespace Marrowbell::Testing
