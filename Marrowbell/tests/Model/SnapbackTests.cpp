#include "ModelTestFixture.h"

#include <QSignalSpy>

namespace Marrowbell::Testing {
namespace {

using SnapbackRecordTest = ModelTest;

class SnapbackTest : public ModelTest {
protected:
    void SetUp() override {
        ModelTest::SetUp();
        ASSERT_TRUE(finishes(model->performFullSync()));
        startWithoutFullSync();
        const auto albums = inStore([](MarrowbellCore::LocalDatabase& database) {
            return database.allAlbums(MarrowbellCore::SortDescriptor<MarrowbellCore::LocalAlbum>::keyPath(
                &MarrowbellCore::LocalAlbum::title,
                [](const auto& lhs, const auto& rhs) { return std::weak_order(lhs, rhs); }));
        });
        for (const auto& candidate : albums) {
            auto songs = inStore(
                [candidate](MarrowbellCore::LocalDatabase& database) { return database.songs(candidate); });
            if (songs.size() >= 2) {
                album = candidate;
                albumSongs = std::move(songs);
                break;
            }
        }
        ASSERT_GE(albumSongs.size(), 2u) << "the demo library has an album of two songs or more";
        otherAlbum = albums.front().identifier == album.identifier ? albums.back() : albums.front();
    }

    QString albumID() const { return QString::fromStdString(album.identifier); }
    QString albumTitle() const { return QString::fromStdString(album.title); }
    /// The album's second song, the one that plays.
    const MarrowbellCore::LocalSong& playingSong() const { return albumSongs[1]; }

    /// Plays the album from its second song, as the album's song list does, and records the place.
    void playAlbumFromItsDetailList() {
        model->selectContainerKind(QStringLiteral("albums"));
        model->selectedAlbumID.set(albumID());
        model->showSongCollection(ContainerKind::albums, albumID(), albumTitle(), albumSongs);
        model->activePane.set(2);
        player->setQueue(playable(albumSongs), playingSong().id());
        ASSERT_TRUE(finishes(player->play()));
        model->saveSnapbackState();
        ASSERT_TRUE(QTest::qWaitFor([&] { return model->isPlaying.get(); }, 5000));
    }

    void browseToPlaylists() {
        model->selectContainerKind(QStringLiteral("playlists"));
        model->activePane.set(0);
        model->selectedAlbumID.set(QStringLiteral("elsewhere"));
        model->selectedDetailSongID.set(std::nullopt);
    }

    MarrowbellCore::LocalAlbum album;
    MarrowbellCore::LocalAlbum otherAlbum;
    std::vector<MarrowbellCore::LocalSong> albumSongs;
};

TEST_F(SnapbackTest, PlayingFromAnAlbumReturnsToItsPathPaneSelectionAndPlayingSong) {
    playAlbumFromItsDetailList();
    EXPECT_TRUE(model->isSnapbackTarget(album));
    EXPECT_FALSE(model->isSnapbackTarget(otherAlbum));

    // Still in the album, another row selected: the playing song is selected among the shown songs.
    model->selectedDetailSongID.set(QStringLiteral("play"));
    QSignalSpy willRestore(model.get(), &MainViewModel::snapBackSelectionsWillRestore);
    QSignalSpy restored(model.get(), &MainViewModel::snapBackSelectionsRestored);
    model->snapBack();
    EXPECT_EQ(model->selectedDetailSongID.get(), QString::fromStdString(playingSong().identifier));
    EXPECT_FALSE(model->detailSongIDToRestore);
    EXPECT_EQ(willRestore.count(), 1);
    EXPECT_EQ(restored.count(), 1);

    // Browsed elsewhere: the songs still held are no longer known to be the album's, so the list selects
    // the playing song once it has shown the album's songs again.
    browseToPlaylists();
    model->snapBack();
    EXPECT_EQ(model->navigationPath.get(), pathOf(ContainerKind::albums, albumID(), albumTitle()));
    EXPECT_EQ(model->activePane.get(), 2);
    EXPECT_EQ(model->selectedContainerKindID.get(), QStringLiteral("albums"));
    EXPECT_EQ(model->selectedAlbumID.get(), albumID());
    EXPECT_FALSE(model->selectedDetailSongID.get());
    EXPECT_EQ(model->detailSongIDToRestore, QString::fromStdString(playingSong().identifier));
    EXPECT_EQ(restored.count(), 2) << "the record stays for another snap-back";
}

TEST_F(SnapbackTest, SongsListSelectsThePlayingSongOrNothing) {
    playAlbumFromItsDetailList();
    model->selectContainerKind(QStringLiteral("songs"));
    model->topLevelSongs.set(MarrowbellCore::SortedRecords<MarrowbellCore::LocalSong>(albumSongs));
    model->activePane.set(1);
    model->saveSnapbackState();

    browseToPlaylists();
    model->snapBack();
    EXPECT_EQ(model->navigationPath.get(), pathOf(ContainerKind::songs));
    EXPECT_EQ(model->activePane.get(), 1);
    EXPECT_EQ(model->selectedTopLevelSongID.get(), QString::fromStdString(playingSong().identifier));

    model->topLevelSongs.set(MarrowbellCore::SortedRecords<MarrowbellCore::LocalSong>({albumSongs[0]}));
    model->snapBack();
    EXPECT_FALSE(model->selectedTopLevelSongID.get());
}

TEST_F(SnapbackRecordTest, StationSearchHitRecordsItsKindAndKeepsTheOtherSelections) {
    model->selectedAlbumID.set(QStringLiteral("a.1"));
    model->selectedStationID.set(MusicKit::MusicItemID("old"));
    const MusicKit::MusicPersonalRecommendationItem station{
        MusicKit::MusicItemID("st.9"), "Radio", std::nullopt,
        MusicKit::MusicPersonalRecommendationItem::Kind::station};
    model->saveStationSnapbackState(station);

    const auto record = model->lastSavedSnapbackState.get();
    ASSERT_TRUE(record);
    EXPECT_EQ(record->path, pathOf(ContainerKind::stations));
    EXPECT_EQ(record->activePane, 1);
    EXPECT_EQ(record->selectedStationID, MusicKit::MusicItemID("st.9"));
    EXPECT_EQ(record->selectedAlbumID, QStringLiteral("a.1"));
    EXPECT_FALSE(model->isStationSnapbackTarget(station)) << "nothing is marked while not playing";
}

TEST_F(SnapbackRecordTest, WithoutARecordSnapBackDoesNothing) {
    startWithoutFullSync();
    QSignalSpy willRestore(model.get(), &MainViewModel::snapBackSelectionsWillRestore);
    model->snapBack();
    EXPECT_EQ(model->navigationPath.get(), pathOf(ContainerKind::playlists));
    EXPECT_EQ(willRestore.count(), 0);
}

} // namespace
} // namespace Marrowbell::Testing
