#include "SyncTestSupport.h"

#include <MarrowbellCore/Requests/AddLibraryRequest.h>
#include <MarrowbellCore/Sync/LibraryURLError.h>
#include <MusicKit/MusicDataRequest.h>
#include <algorithm>

namespace MarrowbellCore {
namespace {

using Strings = std::vector<std::string>;

class AddLibraryRequestTest : public Testing::SyncFixture {};

TEST_F(AddLibraryRequestTest, AnAddedCatalogSongIsTheNewestSongOfTheNextInsertSync) {
    engine().syncInserts();
    const auto& catalogSong = library().catalogSongs.back();
    const AddLibraryRequest request(catalogSong.id);
    EXPECT_EQ(request.songID(), catalogSong.id);
    service->reset();
    request.perform();
    EXPECT_EQ(service->requestedTargets(), Strings{"/v1/me/library?ids[songs]=" + catalogSong.id});

    engine().syncInserts();
    const std::string identifier = library().songs.back().id;
    EXPECT_EQ(query("SELECT title FROM Songs WHERE identifier = '" + identifier + "'"),
              Strings{catalogSong.name});
    // Order values count seconds, so songs stored within the same second may share the newest one.
    EXPECT_EQ(
        query(
            "SELECT count(*) FROM Songs WHERE sortOrder > (SELECT sortOrder FROM Songs WHERE identifier = '" +
            identifier + "')"),
        Strings{"0"});
}

TEST_F(AddLibraryRequestTest, IdentifiersThatWouldChangeTheURLAreRefusedBeforeSending) {
    for (const std::string songID :
         {"", "12 34", "1&ids[songs]=2", "1#fragment", "%31", "1/2", "1?x=2", "ü", "1+2", "a\nb"}) {
        try {
            AddLibraryRequest(songID).perform();
            ADD_FAILURE() << songID;
        } catch (const LibraryURLError& error) {
            EXPECT_EQ(error.identifier(), songID);
        }
    }
    EXPECT_TRUE(service->requestedTargets().empty());
}

TEST_F(AddLibraryRequestTest, TheServicesErrorReachesTheCallerUnchanged) {
    const std::size_t songCount = library().songs.size();
    try {
        AddLibraryRequest("42").perform();
        ADD_FAILURE() << "no error";
    } catch (const MusicKit::MusicDataRequest::Error& error) {
        EXPECT_EQ(error.status(), 404);
        EXPECT_EQ(error.code(), 40400);
    }
    service->injectFault(2, DemoService::DemoFault::errorAnswer(500, 50000));
    EXPECT_THROW(AddLibraryRequest(library().catalogSongs.back().id).perform(),
                 MusicKit::MusicDataRequest::Error);
    EXPECT_EQ(library().songs.size(), songCount);
}

} // namespace
} // namespace MarrowbellCore
