#include "Model/MainViewModel.h"
#include "SearchFixture.h"

#include <MusicKit/ApplicationMusicPlayer.h>
#include <MusicKit/MusicPlayerQueue.h>
#include <UnifiedLog/LogStore.h>
#include <algorithm>

namespace Marrowbell::Testing {
namespace {

using Case = MarrowbellCore::SearchResult::Case;

class SearchPlaybackTest : public SearchTest {
protected:
    void SetUp() override {
        SearchTest::SetUp();
        content->showSearch();
    }

    MainViewModel& model() const { return *models->main; }

    const MarrowbellCore::SearchResult& resultAt(int row) const {
        const auto* results = qobject_cast<const SearchResultsModel*>(list().model());
        return *results->resultAt(row);
    }

    bool plays(const std::string& title) const {
        return QTest::qWaitFor(
            [&] {
                return model().isPlaying.get() && model().playingTitle.get() == QString::fromStdString(title);
            },
            15000);
    }

    static std::size_t logCount(const std::string& format) {
        const auto entries = UnifiedLog::LogStore::shared().entries();
        return static_cast<std::size_t>(std::count_if(
            entries.begin(), entries.end(), [&](const auto& entry) { return entry.format == format; }));
    }
};

TEST_F(SearchPlaybackTest, ReturnOnAStoredSongPlaysItThenMakesTheSongsListTheSnapBackPlace) {
    ASSERT_TRUE(searchFor(QStringLiteral("a")));
    const int row = firstRowOf("Songs");
    ASSERT_GT(row, 0);
    const auto song = *resultAt(row).get<Case::song>();
    activateRow(row);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !panelShown(); }, 1000)) << "the panel closes without waiting";
    ASSERT_TRUE(plays(song.title));
    // The songs list records where it was; once the play has succeeded the search records the list itself.
    const std::vector<NavigationItem> songsList{NavigationItem::root(),
                                                NavigationItem::container(ContainerKind::songs)};
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            const auto& place = model().lastSavedSnapbackState.get();
            return place && place->path == songsList && place->activePane == 1;
        },
        5000));
}

TEST_F(SearchPlaybackTest, ADoubleClickedStoredAlbumPlaysThenBecomesTheSnapBackPlace) {
    ASSERT_TRUE(searchFor(QStringLiteral("a")));
    const int row = firstRowOf("Albums");
    ASSERT_GT(row, 0);
    const auto album = *resultAt(row).get<Case::album>();
    const QRect rowRect = list().visualRect(list().model()->index(row, 0));
    // A double-click's first click selects the row; the item view only takes a double-click on that row.
    QTest::mouseClick(list().viewport(), Qt::LeftButton, {}, rowRect.center());
    QTest::mouseDClick(list().viewport(), Qt::LeftButton, {}, rowRect.center());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !panelShown(); }, 1000));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            const auto& place = model().lastSavedSnapbackState.get();
            return place && place->selectedAlbumID == QString::fromStdString(album.identifier) &&
                   place->path.size() == 3 && place->activePane == 1;
        },
        15000));
    EXPECT_TRUE(model().isPlaying.get());
}

// A catalog result is not in the library, so there is no place in it to snap back to.
TEST_F(SearchPlaybackTest, ACatalogSongClearsTheSnapBackPlaceThenPlaysDirectly) {
    model().saveSongsSnapbackState();
    models->search->selection.set(SearchPickerSelection::catalog);
    ASSERT_TRUE(QTest::qWaitFor([&] { return view().searchesStarted() > 0; }, 2000));
    ASSERT_TRUE(searchFor(QStringLiteral("Fire")));
    const int row = firstRowOf("Songs");
    ASSERT_GT(row, 0);
    const auto song = *resultAt(row).get<Case::catalogSong>();
    activateRow(row);
    EXPECT_FALSE(model().lastSavedSnapbackState.get()) << "cleared before the play starts";
    ASSERT_TRUE(plays(song.title));
    EXPECT_EQ(models->player->queue().entries().size(), 1u);
    EXPECT_FALSE(model().lastSavedSnapbackState.get());
}

TEST_F(SearchPlaybackTest, ACatalogArtistClearsTheSnapBackPlaceAndPlaysItsTopSongs) {
    model().saveSongsSnapbackState();
    models->search->selection.set(SearchPickerSelection::catalog);
    ASSERT_TRUE(QTest::qWaitFor([&] { return view().searchesStarted() > 0; }, 2000));
    ASSERT_TRUE(searchFor(QStringLiteral("a")));
    const int row = firstRowOf("Artists");
    ASSERT_GT(row, 0);
    const auto artist = *resultAt(row).get<Case::catalogArtist>();
    const auto& catalog = library();
    const auto artistIndex = static_cast<std::size_t>(
        std::find_if(catalog.catalogArtists.begin(), catalog.catalogArtists.end(),
                     [&](const auto& candidate) { return candidate.id == artist.id.rawValue(); }) -
        catalog.catalogArtists.begin());
    const auto album = std::find_if(catalog.catalogAlbums.begin(), catalog.catalogAlbums.end(),
                                    [&](const auto& candidate) { return candidate.artist == artistIndex; });
    ASSERT_NE(album, catalog.catalogAlbums.end());
    activateRow(row);
    ASSERT_TRUE(plays(catalog.catalogSongs[album->songs.front()].name));
    EXPECT_GT(models->player->queue().entries().size(), 1u);
    EXPECT_FALSE(model().lastSavedSnapbackState.get());
}

TEST_F(SearchPlaybackTest, AFailedPlayIsLoggedAndShowsThePlayError) {
    models->search->selection.set(SearchPickerSelection::catalog);
    ASSERT_TRUE(QTest::qWaitFor([&] { return view().searchesStarted() > 0; }, 2000));
    ASSERT_TRUE(searchFor(QStringLiteral("Fire")));
    const int row = firstRowOf("Songs");
    ASSERT_GT(row, 0);
    const std::size_t logged = logCount("Failed to play search result: %@");
    // Once the lists' own loads have gone quiet, the next request is the song's playback asset.
    for (std::size_t seen = 0, round = 0; round < 20 && service->requestedTargets().size() != seen; ++round) {
        seen = service->requestedTargets().size();
        QTest::qWait(300);
    }
    service->injectFault(service->requestedTargets().size() + 1,
                         DemoService::DemoFault::errorAnswer(404, 40400));
    activateRow(row);
    ASSERT_TRUE(QTest::qWaitFor([&] { return model().showPlayError.get(); }, 15000));
    EXPECT_EQ(logCount("Failed to play search result: %@"), logged + 1);
    EXPECT_FALSE(model().isPlaying.get());
}

TEST_F(SearchPlaybackTest, ASlowCatalogAnswerForOlderTextNeverReplacesTheNewerResults) {
    models->search->selection.set(SearchPickerSelection::catalog);
    ASSERT_TRUE(QTest::qWaitFor([&] { return view().searchesStarted() > 0; }, 2000));
    QTest::qWait(200);
    service->injectFault(service->requestedTargets().size() + 1,
                         DemoService::DemoFault::delayed(std::chrono::milliseconds(1500)));
    field().setText(QStringLiteral("Ocean"));
    ASSERT_TRUE(searchFor(QStringLiteral("Café")));
    ASSERT_FALSE(view().sections().empty());
    const auto newer = view().sections();
    QTest::qWait(2000);
    EXPECT_TRUE(same(view().sections(), newer));
    EXPECT_EQ(field().text(), QStringLiteral("Café"));
}

TEST_F(SearchPlaybackTest, AFailedSearchShowsNoResultsOfTheTextBefore) {
    models->search->selection.set(SearchPickerSelection::catalog);
    ASSERT_TRUE(QTest::qWaitFor([&] { return view().searchesStarted() > 0; }, 2000));
    ASSERT_TRUE(searchFor(QStringLiteral("Café")));
    ASSERT_FALSE(view().sections().empty());
    const std::size_t next = service->requestedTargets().size() + 1;
    for (std::size_t request = next; request < next + 5; ++request) {
        service->injectFault(request, DemoService::DemoFault::errorAnswer(500, 50000));
    }
    QSignalSpy answered(&view(), &SearchView::heightRequested);
    field().setText(QStringLiteral("Ocean"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !answered.isEmpty(); }, 15000)) << "a failed search answers too";
    EXPECT_TRUE(view().sections().empty());
    EXPECT_EQ(answered.back().front().toInt(), 44) << "the panel shrinks to its field";
    EXPECT_EQ(field().text(), QStringLiteral("Ocean"));
    EXPECT_FALSE(model().showPlayError.get()) << "no alert";
}

TEST_F(SearchPlaybackTest, TheTextReachesTheStoreAsAValueAndTheCatalogEncoded) {
    // LIKE's own wildcards keep their meaning; quotes and other punctuation are plain text.
    ASSERT_TRUE(searchFor(QStringLiteral("Mix _1")));
    ASSERT_EQ(names(view().sections()).front(), "Playlists");
    for (const auto& result : view().sections().front().results) {
        EXPECT_NE(result.name().find("Mix #1"), std::string::npos) << result.name();
    }
    ASSERT_TRUE(searchFor(QStringLiteral("%")));
    EXPECT_FALSE(view().sections().empty());
    ASSERT_TRUE(searchFor(QStringLiteral("'; DROP TABLE Songs; --")));
    EXPECT_TRUE(view().sections().empty());
    ASSERT_TRUE(searchFor(QStringLiteral("a")));
    EXPECT_EQ(names(view().sections())[3], "Songs") << "the songs are still there";

    models->search->selection.set(SearchPickerSelection::catalog);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return view().searchesStarted() > 0 && view().sections().empty(); }, 2000));
    ASSERT_TRUE(searchFor(QStringLiteral("Crème & 100%_#")));
    const auto targets = service->requestedTargets();
    EXPECT_NE(targets.back().find("term=Cr%C3%A8me%20%26%20100%25_%23&"), std::string::npos)
        << targets.back();
    ASSERT_TRUE(searchFor(QStringLiteral("Crème Brûlée")));
    ASSERT_FALSE(view().sections().empty());
    for (const auto& section : view().sections()) {
        for (const auto& result : section.results) {
            EXPECT_NE(result.name().find("Crème Brûlée"), std::string::npos) << result.name();
        }
    }
}

} // namespace
} // namespace Marrowbell::Testing
