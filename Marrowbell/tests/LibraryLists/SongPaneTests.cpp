#include "LibraryLists/LibraryLists.h"
#include "LibraryLists/SongLists.h"
#include "LibraryListsTestFixture.h"
#include "LibraryModels/RefreshThrottle.h"
#include "LibraryModels/SongListPlayback.h"
#include "LibraryModels/TopLevelSongsViewModel.h"

#include <QAccessible>
#include <QScrollBar>
#include <algorithm>
#include <cstdlib>
#include <sqlite3.h>

namespace Marrowbell::Testing {
namespace {

class SongPaneTest : public LibraryListsTest {
protected:
    using LibraryListsTest::LibraryListsTest;

    // The full sync has just stored the songs: the pane's own daily sync, and the reload that follows it,
    // would replace the songs that a test hands the list.
    void SetUp() override {
        LibraryListsTest::SetUp();
        RefreshThrottle::markRefreshed(environment->defaults(), DefaultsKeys::lastSongSync);
    }

    /// Waits until the Songs pane shows Play, Shuffle and the loaded library songs.
    bool showsLoadedSongs(const SongList& list) {
        return QTest::qWaitFor(
            [&] {
                const auto& songs = model().topLevelSongs.get();
                return !songs.empty() && rowCount(list) == int(songs.size()) + 2;
            },
            15000);
    }

    /// Overwrites the stored play parameters of the most recently added library song with bytes that are no
    /// property list, through a connection of its own; the song's identifier.
    std::string damageNewestSongsPlayParameters() {
        sqlite3* db = nullptr;
        EXPECT_EQ(sqlite3_open(folder.filePath(QStringLiteral("local.db")).toUtf8().constData(), &db),
                  SQLITE_OK);
        std::string identifier;
        sqlite3_exec(
            db,
            "UPDATE Songs SET playParameters = x'0102' WHERE pk = (SELECT pk FROM Songs WHERE isPassive = 0 "
            "ORDER BY sortOrder DESC LIMIT 1) RETURNING identifier",
            [](void* found, int, char** values, char**) {
                *static_cast<std::string*>(found) = values[0];
                return 0;
            },
            &identifier, nullptr);
        sqlite3_close(db);
        return identifier;
    }

    /// What a screen reader reads of `list`: its name, or a row's name and description.
    static QString reads(QWidget& list) {
        return QAccessible::queryAccessibleInterface(&list)->text(QAccessible::Name);
    }
    static QString reads(QWidget& list, int row) {
        QAccessibleInterface* cell =
            QAccessible::queryAccessibleInterface(&list)->tableInterface()->cellAt(row, 0);
        return cell->text(QAccessible::Name) + QStringLiteral(" | ") + cell->text(QAccessible::Description);
    }

    static int rowOf(const auto& songs, const std::string& identifier) {
        const auto song = std::find_if(songs.begin(), songs.end(), [&](const auto& candidate) {
            return candidate.identifier == identifier;
        });
        return song == songs.end() ? -1 : int(song - songs.begin()) + 2;
    }
};

TEST_F(SongPaneTest, TheSongsPaneListsEveryLibrarySongBelowPlayAndShuffle) {
    SongList& list = showKind<SongList>(ContainerKind::songs);
    ASSERT_TRUE(showsLoadedSongs(list));
    const auto loaded = model().topLevelSongs.snapshot();
    const auto& songs = *loaded;
    EXPECT_EQ(songs.size(), demoSongCount);
    EXPECT_EQ(shownTitles(list), songRowTitles(songs));

    const TableCell play = cellAt(list, 0);
    EXPECT_EQ(play.glyph, QStringLiteral("play.fill"));
    EXPECT_TRUE(play.subtitle.isEmpty());
    EXPECT_FALSE(play.canShowChevron);
    EXPECT_EQ(cellAt(list, 1).glyph, QStringLiteral("shuffle"));
    const TableCell song = cellAt(list, 2);
    EXPECT_TRUE(song.glyph.isEmpty());
    EXPECT_EQ(song.subtitle, QString::fromStdString(songs.front().artistName.value_or(std::string())));
    EXPECT_EQ(song.artworkUniqueID,
              QStringLiteral("song-") + QString::fromStdString(songs.front().identifier));
    EXPECT_EQ(song.isEnabled, songs.front().playParameters().has_value());
    EXPECT_FALSE(song.canShowChevron);
    EXPECT_EQ(reads(list), QStringLiteral("Songs"));
    EXPECT_EQ(reads(list, 2), song.title + QStringLiteral(" | ") + song.subtitle);
    EXPECT_EQ(reads(list, 0), QStringLiteral("Play | "));
}

TEST_F(SongPaneTest, OnlyTheNewestSongsReachTheRows) {
    SongList& list = showKind<SongList>(ContainerKind::songs);
    ASSERT_TRUE(showsLoadedSongs(list));
    const auto all = model().topLevelSongs.snapshot();
    std::vector<MarrowbellCore::LocalSong> few(all->rbegin(), all->rbegin() + 3);

    // The rows of the whole list take longer to build than those of three songs, yet must not win.
    model().topLevelSongs.set(*all);
    settle();
    model().topLevelSongs.set(MarrowbellCore::SortedRecords<MarrowbellCore::LocalSong>(few));
    ASSERT_TRUE(QTest::qWaitFor([&] { return shownTitles(list) == songRowTitles(few); }, 15000));
    QTest::qWait(300);
    EXPECT_EQ(shownTitles(list), songRowTitles(few));
}

TEST_F(SongPaneTest, DoubleClickReturnAndTheMenuPlayTheirOwnRowWithTheRightQueue) {
    SongList& list = showKind<SongList>(ContainerKind::songs);
    ASSERT_TRUE(showsLoadedSongs(list));
    const auto loaded = model().topLevelSongs.snapshot();
    const auto& songs = *loaded;

    doubleClickRow(list, 5);
    ASSERT_TRUE(playerPlays());
    EXPECT_EQ(model().selectedTopLevelSongID.get(), QString::fromStdString(songs[3].identifier));
    EXPECT_EQ(queuedTitles().size(), qsizetype(songs.size() - 3));
    EXPECT_EQ(queuedTitles().front(), QString::fromStdString(songs[3].title));
    EXPECT_EQ(player().state().shuffleMode(), std::nullopt);
    EXPECT_FALSE(model().showPlayError.get());

    // The playing song's row, and only it, shows the bars while playing.
    model().updatePlaybackStatus();
    ASSERT_TRUE(model().isPlaying.get());
    EXPECT_TRUE(cellAt(list, 5).showNowPlayingIndicator);
    EXPECT_FALSE(cellAt(list, 6).showNowPlayingIndicator);
    EXPECT_FALSE(cellAt(list, 0).showNowPlayingIndicator);
    EXPECT_EQ(reads(list, 5), cellAt(list, 5).title + QStringLiteral(" | ") + cellAt(list, 5).subtitle +
                                  QStringLiteral(", Now Playing"));
    EXPECT_EQ(reads(list, 6), cellAt(list, 6).title + QStringLiteral(" | ") + cellAt(list, 6).subtitle);

    // The menu plays the row it was opened on, not the selected one.
    EXPECT_EQ(contextMenuOf(list, 9, QStringLiteral("Play")), QStringList{QStringLiteral("Play")});
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return queuedTitles().value(0) == QString::fromStdString(songs[7].title); }, 15000));
    EXPECT_EQ(model().selectedTopLevelSongID.get(), QString::fromStdString(songs[3].identifier));

    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, rowCenter(list, 1));
    QTest::keyClick(&list, Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return player().state().shuffleMode() == MusicKit::MusicPlayerShuffleMode::songs; }, 15000));
    EXPECT_EQ(queuedTitles().size(), qsizetype(songs.size()));
}

TEST_F(SongPaneTest, StoredPlayParametersReachThePlayerAndUndecodableOnesShowGreyedYetPlay) {
    const std::string damaged = damageNewestSongsPlayParameters();
    ASSERT_FALSE(damaged.empty());
    SongList& list = showKind<SongList>(ContainerKind::songs);
    ASSERT_TRUE(showsLoadedSongs(list));
    const auto loaded = model().topLevelSongs.snapshot();
    const auto& songs = *loaded;
    const int damagedRow = rowOf(songs, damaged);
    ASSERT_GE(damagedRow, 2);
    const int playableRow = damagedRow == 2 ? 3 : 2;
    const auto& playable = songs[std::size_t(playableRow - 2)];

    list.scrollTo(list.model()->index(damagedRow, 0));
    EXPECT_FALSE(cellAt(list, damagedRow).isEnabled);
    EXPECT_TRUE(cellAt(list, playableRow).isEnabled);

    doubleClickRow(list, playableRow);
    ASSERT_TRUE(playerPlays());
    ASSERT_FALSE(player().queue().entries().empty());
    const MusicKit::Song* queued = player().queue().entries().front().song();
    ASSERT_NE(queued, nullptr);
    ASSERT_TRUE(queued->playParameters);
    EXPECT_EQ(queued->playParameters, playable.playParameters());
    EXPECT_EQ(queued->playParameters->id, playable.identifier);

    player().stop();
    doubleClickRow(list, damagedRow);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return queuedTitles().value(0) ==
                   QString::fromStdString(songs[std::size_t(damagedRow - 2)].title);
        },
        15000));
    const MusicKit::Song* greyed = player().queue().entries().front().song();
    ASSERT_NE(greyed, nullptr);
    EXPECT_FALSE(greyed->playParameters);
    EXPECT_EQ(model().selectedTopLevelSongID.get(), QString::fromStdString(damaged));
}

TEST_F(SongPaneTest, TheDetailPaneShowsTheSelectedAlbumsSongsAndPlaysThemFromTheTop) {
    auto& albums = showKind<AlbumList>(ContainerKind::albums);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const auto& stored = models->albums->items.get();
            return stored.size() > 1 && rowCount(albums) == int(stored.size());
        },
        15000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return model().navigationPath.get().size() == 3; }, 15000));
    SongList& detail = showPane<SongList>(model().navigationPath.get()[2]);
    ASSERT_FALSE(model().detailSongs.get().empty());
    EXPECT_EQ(reads(albums), QStringLiteral("Albums"));
    EXPECT_EQ(reads(detail), model().navigationPath.get()[2].as<NavigationItem::SongCollection>()->title);
    EXPECT_EQ(shownTitles(detail), songRowTitles(model().detailSongs.get()));

    // Another album's songs replace the shown ones.
    QTest::mouseClick(albums.viewport(), Qt::LeftButton, {}, rowCenter(albums, 1));
    const QString second = QString::fromStdString(models->albums->items.get()[1].identifier);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return model().navigationPath.get().back().id() == second &&
                   shownTitles(detail) == songRowTitles(model().detailSongs.get());
        },
        15000));
    const auto shown = model().detailSongs.snapshot();
    const auto& songs = *shown;

    doubleClickRow(albums, 1);
    ASSERT_TRUE(playerPlays());
    EXPECT_EQ(model().selectedDetailSongID.get(), QStringLiteral("play"));
    EXPECT_EQ(queuedTitles().front(), QString::fromStdString(songs.front().title));

    doubleClickRow(detail, detail.model()->rowCount() - 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return queuedTitles().size() == 1; }, 15000));
    EXPECT_EQ(queuedTitles().front(), QString::fromStdString(songs.back().title));
}

TEST_F(SongPaneTest, UpdateLibraryDropsARemovedSongKeepingTheSelectedSongAndTheScrollPosition) {
    SongList& list = showKind<SongList>(ContainerKind::songs);
    ASSERT_TRUE(showsLoadedSongs(list));
    const int served = rowCount(list);
    // A song that the service removed since the store was filled; it sorts last.
    MarrowbellCore::IncomingSong gone;
    gone.identifier = "i.gone";
    gone.title = "Gone Song";
    gone.albumTitle = "ZZZ";
    auto write = environment->store().run(
        [gone](MarrowbellCore::LocalDatabase& database) { database.insert(std::vector{gone}); });
    ASSERT_TRUE(finishes(write));
    ASSERT_TRUE(finishes(models->topLevelSongs->load(false)));
    ASSERT_TRUE(showsRows(list, served + 1));
    QScrollBar& scrollBar = *list.verticalScrollBar();
    ASSERT_GT(scrollBar.maximum(), 0);
    scrollBar.setValue(scrollBar.maximum() / 2);
    const QPoint middle = list.viewport()->rect().center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, middle);
    const std::optional<QString> selected = model().selectedTopLevelSongID.get();
    ASSERT_TRUE(selected);
    const int scrolled = scrollBar.value();

    ASSERT_TRUE(finishes(model().performFullSync(), 60000));
    EXPECT_TRUE(showsRows(list, served));
    EXPECT_FALSE(shownTitles(list).contains(QStringLiteral("Gone Song")));
    EXPECT_EQ(model().selectedTopLevelSongID.get(), selected);
    EXPECT_EQ(scrollBar.value(), scrolled);
    EXPECT_EQ(list.indexAt(middle).row(), list.selectedRow()) << "the selected song stays where it was";
}

/// A library long enough that a re-sort moves most songs far from where they were.
class LongSongPaneTest : public SongPaneTest {
protected:
    LongSongPaneTest()
        : SongPaneTest(3000) {}
};

TEST_F(LongSongPaneTest, AReSortShowsTheNewOrderWithTheSelectedSongStillSelectedAndPlaysItInThatOrder) {
    SongList& list = showKind<SongList>(ContainerKind::songs);
    ASSERT_TRUE(showsLoadedSongs(list));
    const auto before = model().topLevelSongs.snapshot();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, rowCenter(list, 4));
    const std::optional<QString> selected = model().selectedTopLevelSongID.get();
    ASSERT_EQ(selected, QString::fromStdString((*before)[2].identifier));

    TopLevelSongsViewModel& songs = *models->topLevelSongs;
    songs.setSortOrder(songs.sortOrder() == SongSortOrder::duration ? SongSortOrder::genre
                                                                    : SongSortOrder::duration);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const auto& sorted = model().topLevelSongs.get();
            return &sorted != before.get() && shownTitles(list) == songRowTitles(sorted);
        },
        15000));
    const auto& sorted = model().topLevelSongs.get();
    const auto found = std::find_if(sorted.begin(), sorted.end(), [&](const MarrowbellCore::LocalSong& song) {
        return QString::fromStdString(song.identifier) == *selected;
    });
    ASSERT_NE(found, sorted.end());
    const int row = int(found - sorted.begin()) + 2;
    EXPECT_GT(std::abs(row - 4), 10) << "the re-sort moved the selected song";
    EXPECT_EQ(list.selectedRow(), row);
    EXPECT_EQ(model().selectedTopLevelSongID.get(), selected);
    EXPECT_EQ(cellAt(list, row).title, QString::fromStdString(found->title));
    EXPECT_TRUE(list.viewport()->rect().contains(list.visualRect(list.model()->index(row, 0))));

    const QStringList shownFromRow = shownTitles(list).mid(row, int(songQueueLimit));
    doubleClickRow(list, row);
    ASSERT_TRUE(QTest::qWaitFor([&] { return queuedTitles() == shownFromRow; }, 15000))
        << "the songs queued are those shown from the played row on";
}

} // namespace
} // namespace Marrowbell::Testing
