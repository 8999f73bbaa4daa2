#include "LibraryFetchTesting.h"
#include "Remote/RemoteAlbum.h"
#include "Remote/RemotePlaylist.h"
#include "Remote/RemoteSong.h"
#include "SyncEngine/LibraryFetch.h"

#include <Foundation/CancellationError.h>
#include <Foundation/DecodingError.h>
#include <MarrowbellCore/Sync/IncompleteListingError.h>
#include <MarrowbellCore/Sync/LibraryURLError.h>
#include <MarrowbellCore/Sync/SyncEngine.h>
#include <MusicKit/MusicDataRequest.h>
#include <MusicKit/URLError.h>
#include <chrono>
#include <thread>

using namespace MarrowbellCore;
using namespace std::chrono_literals;
using DemoService::DemoFault;
using MarrowbellCore::Testing::RecordedProgress;
using MusicKit::MusicDataRequest;

namespace {

class LibraryFetchFaultTests : public Testing::LibraryFetchTest {};

template <class Operation> MusicDataRequest::Error serviceError(Operation operation) {
    try {
        operation();
    } catch (const MusicDataRequest::Error& error) {
        return error;
    }
    ADD_FAILURE() << "no service error";
    return MusicDataRequest::Error(0, 0, "");
}

} // namespace

TEST_F(LibraryFetchFaultTests, AnUndecodablePageFailsTheFetchAndLeavesTheProgressAsItWas) {
    service->injectFault(2, DemoFault::malformedJSON());
    RecordedProgress progress;
    EXPECT_THROW(LibraryFetch::fetchSongs(true, *progress.progress), Foundation::DecodingError);
    EXPECT_EQ(progress.values, (std::vector<std::int64_t>{40}));

    // The track lists forgive only the service's code 40403, never a decoding failure.
    service->reset();
    service->injectFault(2, DemoFault::malformedJSON());
    EXPECT_THROW(LibraryFetch::fetchTracks(LibraryFetch::PlaylistID{library().playlists[0].id}),
                 Foundation::DecodingError);
}

TEST_F(LibraryFetchFaultTests, ServiceErrorsOtherThanTrackListEndsAreThrownWithTheirCode) {
    service->injectFault(2, DemoFault::errorAnswer(404, 40403));
    RecordedProgress progress;
    const auto listError = serviceError([&] { LibraryFetch::fetchSongs(true, *progress.progress); });
    EXPECT_EQ(listError.code(), 40403);
    EXPECT_EQ(listError.status(), 404);
    EXPECT_EQ(listError.title(), "Resource Not Found");

    service->injectFault(3, DemoFault::errorAnswer(404, 40403));
    const auto& artist = library().artists[0];
    EXPECT_EQ(serviceError([&] { LibraryFetch::fetchAlbums(LibraryFetch::ArtistID{artist.id}); }).code(),
              40403);

    service->injectFault(4, DemoFault::errorAnswer(500, 50001));
    const auto& playlist = library().playlists[0];
    EXPECT_EQ(
        serviceError([&] { LibraryFetch::fetchTracks(LibraryFetch::PlaylistID{playlist.id}); }).status(),
        500);
}

TEST_F(LibraryFetchFaultTests, RejectedTokensFailWithUnauthorizedAndNeverQuoteTheTokens) {
    auto configuration = service->configuration();
    configuration.userToken = "a-secret-user-token";
    MusicKit::ServiceConfiguration::setCurrent(configuration);
    RecordedProgress progress;
    const auto error = serviceError([&] { LibraryFetch::fetchPlaylists(true, *progress.progress); });
    EXPECT_EQ(error.status(), 401);
    EXPECT_EQ(std::string(error.what()).find("secret"), std::string::npos);
    EXPECT_EQ(std::string(error.what()).find(DemoService::DemoService::developerToken), std::string::npos);
}

TEST_F(LibraryFetchFaultTests, ASlowServiceTimesOut) {
    auto configuration = service->configuration();
    configuration.timeoutLimit = 0.3;
    MusicKit::ServiceConfiguration::setCurrent(configuration);
    service->injectFault(1, DemoFault::delayed(5s));
    const auto start = std::chrono::steady_clock::now();
    try {
        LibraryFetch::fetchTracks(LibraryFetch::AlbumID{library().albums[0].id});
        ADD_FAILURE() << "no time-out";
    } catch (const MusicKit::URLError& error) {
        EXPECT_EQ(error.code(), MusicKit::URLError::Code::timedOut);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
}

TEST_F(LibraryFetchFaultTests, StoppingEndsARequestUnderWay) {
    service->injectFault(2, DemoFault::delayed(5s));
    std::stop_source stop;
    const std::jthread stopper([&] {
        std::this_thread::sleep_for(200ms);
        stop.request_stop();
    });
    RecordedProgress progress;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(LibraryFetch::fetchSongs(true, *progress.progress, stop.get_token()),
                 Foundation::CancellationError);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
    EXPECT_EQ(progress.values, (std::vector<std::int64_t>{40}));
}

TEST_F(LibraryFetchFaultTests, AnIdentifierThatIsNoPathSegmentFailsWithoutARequest) {
    for (const std::string identifier : {"p.1 2", "p.{1}", "", "p.1/../../songs", "p.1?offset=5", "p.1#x"}) {
        EXPECT_THROW(LibraryFetch::fetchTracks(LibraryFetch::PlaylistID{identifier}), LibraryURLError)
            << identifier;
        EXPECT_THROW(LibraryFetch::fetchAlbums(LibraryFetch::ArtistID{identifier}), LibraryURLError)
            << identifier;
    }
    EXPECT_TRUE(service->requestedTargets().empty());
}

TEST_F(LibraryFetchFaultTests, ADotSegmentIdentifierFailsWithoutARequest) {
    for (const std::string identifier : {".", "..", "%2e", "%2E%2e", ".%2E", "%2e."}) {
        EXPECT_THROW(LibraryFetch::fetchTracks(LibraryFetch::PlaylistID{identifier}), LibraryURLError)
            << identifier;
        EXPECT_THROW(LibraryFetch::fetchTracks(LibraryFetch::AlbumID{identifier}), LibraryURLError)
            << identifier;
        EXPECT_THROW(LibraryFetch::fetchAlbums(LibraryFetch::ArtistID{identifier}), LibraryURLError)
            << identifier;
    }
    EXPECT_TRUE(service->requestedTargets().empty());
}

TEST_F(LibraryFetchFaultTests, APageWithNextButNoResourcesNeverLoops) {
    // A whole listing broken off this way is refused: taken for the whole library it would make a sync
    // remove the items after it.
    service->injectFault(2, DemoFault::emptyPageWithNext());
    RecordedProgress progress;
    try {
        LibraryFetch::fetchSongs(true, *progress.progress);
        FAIL() << "a broken-off listing must not pass for the whole library";
    } catch (const IncompleteListingError& error) {
        EXPECT_EQ(error.received(), 100);
    }
    EXPECT_EQ(service->requestedTargets().size(), 2u);

    // A first page alone is all that is asked for; a container's list simply ends.
    service->reset();
    service->injectFault(1, DemoFault::emptyPageWithNext());
    EXPECT_TRUE(LibraryFetch::fetchSongs(false, *progress.progress).empty());
    EXPECT_EQ(progress.values.back(), 100);

    service->injectFault(2, DemoFault::emptyPageWithNext());
    service->injectFault(3, DemoFault::emptyPageWithNext());
    service->injectFault(3, DemoFault::changedTotal(0));
    EXPECT_THROW(LibraryFetch::fetchTracks(LibraryFetch::PlaylistID{library().playlists[0].id}),
                 IncompleteListingError)
        << "it holds fewer tracks than its total";
    EXPECT_TRUE(LibraryFetch::fetchTracks(LibraryFetch::PlaylistID{library().playlists[0].id}).empty());
    EXPECT_EQ(service->requestedTargets().size(), 3u);
}

TEST_F(LibraryFetchFaultTests, AListingThatEndsBeforeItsAnnouncedTotalIsIncomplete) {
    service->injectFault(2, DemoFault::pageWithoutNext());
    RecordedProgress progress;
    try {
        LibraryFetch::fetchSongs(true, *progress.progress);
        FAIL() << "a listing cut short must not pass for the whole library";
    } catch (const IncompleteListingError& error) {
        EXPECT_EQ(error.received(), 200);
    }
    service->injectFault(3, DemoFault::pageWithoutNext());
    EXPECT_THROW(LibraryFetch::fetchTracks(LibraryFetch::PlaylistID{library().playlists[0].id}),
                 IncompleteListingError);
    service->injectFault(4, DemoFault::pageWithoutNext());
    service->injectFault(4, DemoFault::changedTotal(0));
    EXPECT_EQ(LibraryFetch::fetchSongs(true, *progress.progress).size(), 100u)
        << "without a total, as before";
}
