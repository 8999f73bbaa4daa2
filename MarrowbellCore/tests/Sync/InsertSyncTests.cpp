#include "SyncTestSupport.h"

#include <Foundation/CancellationError.h>
#include <algorithm>
#include <chrono>
#include <thread>

namespace MarrowbellCore {
namespace {

using Strings = std::vector<std::string>;

class InsertSyncTest : public Testing::SyncFixture {
protected:
    InsertSyncTest()
        : SyncFixture(150) {}
};

TEST_F(InsertSyncTest, AddsTheNewestItemsWithoutDeletingAnything) {
    store->insert(std::vector{IncomingPlaylist{"p.stale", "Gone from the service"}});
    Testing::NotificationRecorder notifications;
    engine().syncInserts();
    EXPECT_EQ(count("Songs"), 100u) << "only the first page of songs";
    EXPECT_EQ(query("SELECT count(*) FROM Playlists WHERE identifier = 'p.stale'"), Strings{"1"});
    EXPECT_EQ(notifications.names().size(), 4u);
    EXPECT_TRUE(Testing::coreLogEntries().empty());
}

TEST_F(InsertSyncTest, NewSongsAreNumberedAmongThemselvesAndStoredSongsAreLeftAlone) {
    engine().syncSongs();
    // Forget the songs at positions 0 and 3 of the newest-first list: the only new ones for the next
    // insert-only sync. The song at position 1 is stored, with a title the service does not know.
    const auto newest = query("SELECT identifier FROM Songs ORDER BY sortOrder DESC LIMIT 4");
    query("DELETE FROM Songs WHERE identifier IN ('" + newest[0] + "', '" + newest[3] + "')");
    query("UPDATE Songs SET title = 'Kept' WHERE identifier = '" + newest[1] + "'");

    engine().syncInserts();
    const auto orderOf = [&](const std::string& identifier) {
        return std::stoll(query("SELECT sortOrder FROM Songs WHERE identifier = '" + identifier + "'")[0]);
    };
    EXPECT_EQ(orderOf(newest[0]) - orderOf(newest[3]), 1) << "the two new songs count down together";
    EXPECT_EQ(query("SELECT title FROM Songs WHERE identifier = '" + newest[1] + "'"), Strings{"Kept"})
        << "stored songs are not written";
    EXPECT_EQ(count("Songs"), library().songs.size());
}

TEST_F(InsertSyncTest, OneFailingChildIsLoggedAndTheOthersGoOn) {
    query("DROP TABLE Artists");
    Testing::NotificationRecorder notifications;
    engine().syncInserts();
    const auto log = Testing::coreLogEntries();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].format, "Failed to sync artist inserts: %@");
    EXPECT_EQ(log[0].category, "sync");
    EXPECT_EQ(count("Albums"), library().albums.size());
    EXPECT_EQ(notifications.names().size(), 4u);
}

TEST_F(InsertSyncTest, ACancelledInsertSyncLogsEveryChildAndStillPosts) {
    Testing::NotificationRecorder notifications;
    std::stop_source stop;
    stop.request_stop();
    engine().syncInserts(stop.get_token());
    EXPECT_EQ(Testing::coreLogEntries().size(), 4u);
    EXPECT_EQ(notifications.names().size(), 4u);
    EXPECT_EQ(count("Songs"), 0u);
}

TEST_F(InsertSyncTest, EmptyPlaylistSyncVisitsOnlyPlaylistsWithoutSongs) {
    engine().syncPlaylists();
    const auto playlists = store->allPlaylists();
    ASSERT_GE(playlists.size(), 3u);
    engine().syncRemoteTracks(playlists[1]);
    service->reset();
    engine().syncEmptyPlaylistContents();

    Strings visited;
    for (const auto& target : service->requestedTargets()) {
        const auto playlist = target.substr(0, target.find("/tracks"));
        if (visited.empty() || visited.back() != playlist) {
            visited.push_back(playlist);
        }
    }
    Strings expected;
    for (std::size_t i = 0; i < playlists.size(); ++i) {
        const auto& demo = *std::find_if(library().playlists.begin(), library().playlists.end(),
                                         [&](const auto& p) { return p.id == playlists[i].identifier; });
        if (i != 1 || demo.tracks.empty()) {
            expected.push_back("/v1/me/library/playlists/" + playlists[i].identifier);
        }
    }
    EXPECT_EQ(visited, expected);
}

TEST_F(InsertSyncTest, AStopEndsTheEmptyPlaylistPassWithoutBlamingAnyPlaylist) {
    engine().syncPlaylists();
    ASSERT_GE(store->allPlaylists().size(), 3u);
    service->reset();
    std::stop_source stop;
    // The first playlist's tracks answer slowly; the stop comes while they are on their way.
    service->injectFault(1, DemoService::DemoFault::delayed(std::chrono::milliseconds(300)));
    std::jthread stopper([&stop] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        stop.request_stop();
    });
    EXPECT_THROW(engine().syncEmptyPlaylistContents(stop.get_token()), Foundation::CancellationError);
    EXPECT_TRUE(Testing::coreLogEntries().empty());
    EXPECT_LE(service->requestedTargets().size(), 1u);
}

TEST_F(InsertSyncTest, AFailingPlaylistIsLoggedByNameAndTheNextOneIsSynced) {
    engine().syncPlaylists();
    const auto playlists = store->allPlaylists();
    service->reset();
    service->injectFault(1, DemoService::DemoFault::errorAnswer(500, 50000));
    engine().syncEmptyPlaylistContents();
    const auto log = Testing::coreLogEntries();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].format, "Failed to sync remote tracks for playlist %s: %@");
    EXPECT_NE(log[0].message.find(playlists[0].identifier), std::string::npos);
    EXPECT_GE(service->requestedTargets().size(), std::min<std::size_t>(2, playlists.size()));
}

} // namespace
} // namespace MarrowbellCore
