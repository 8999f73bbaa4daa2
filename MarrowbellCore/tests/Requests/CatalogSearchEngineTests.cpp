#include <DemoService/DemoServiceTest.h>
#include <Foundation/CancellationError.h>
#include <MarrowbellCore/Requests/CatalogSearchEngine.h>
#include <MusicKit/MusicCatalogSearchRequest.h>
#include <MusicKit/MusicDataRequest.h>
#include <algorithm>
#include <chrono>
#include <map>
#include <thread>

namespace MarrowbellCore {
namespace {

using DemoService::DemoFault;
using MusicKit::MusicCatalogSearchable;
using Strings = std::vector<std::string>;

/// A section as its name and the identifiers of its results.
using Outline = std::vector<std::pair<std::string, std::vector<std::string>>>;

Outline outline(const std::vector<SearchSection>& sections) {
    Outline result;
    for (const auto& section : sections) {
        std::vector<std::string> ids;
        for (const auto& hit : section.results) {
            ids.push_back(hit.id());
        }
        result.emplace_back(section.name, ids);
    }
    return result;
}

template <class Item>
void appendExpected(Outline& outline, const std::string& name, const std::vector<Item>& items) {
    if (!items.empty()) {
        std::vector<std::string> ids;
        for (std::size_t i = 0; i < std::min<std::size_t>(items.size(), 10); ++i) {
            ids.push_back(items[i].id.rawValue());
        }
        outline.emplace_back(name, ids);
    }
}

class CatalogSearchEngineTest : public DemoService::Testing::DemoServiceTest<1000, 3> {
protected:
    /// What the service answers for `term`, and the sections that answer should give.
    std::pair<MusicKit::MusicCatalogSearchResponse, Outline> serviceAnswer(const std::string& term) {
        MusicKit::MusicCatalogSearchRequest request(
            term, {MusicCatalogSearchable::playlist, MusicCatalogSearchable::album,
                   MusicCatalogSearchable::artist, MusicCatalogSearchable::song});
        request.includeTopResults = true;
        request.limit = 25;
        auto response = request.response();
        Outline expected;
        appendExpected(expected, "Playlists", response.playlists);
        appendExpected(expected, "Albums", response.albums);
        appendExpected(expected, "Artists", response.artists);
        appendExpected(expected, "Songs", response.songs);
        return {std::move(response), expected};
    }
};

TEST_F(CatalogSearchEngineTest, SectionsFollowTheFixedOrderWithTenHitsAtMost) {
    for (const std::string& term : Strings{"love", "echo", "the", library().catalogPlaylists[1].name}) {
        const auto [response, expected] = serviceAnswer(term);
        EXPECT_EQ(outline(CatalogSearchEngine::search(term)), expected) << term;
    }
    const auto [response, expected] = serviceAnswer("love");
    EXPECT_EQ(response.songs.size(), 25u) << "25 asked for per kind";
    EXPECT_FALSE(response.topResults.empty());
    ASSERT_GE(expected.size(), 2u);
    EXPECT_EQ(expected.back().first, "Songs");
    EXPECT_EQ(expected.back().second.size(), 10u);

    const auto sections = CatalogSearchEngine::search("echo");
    const std::map<std::string, SearchResult::Case> caseOfSection{
        {"Playlists", SearchResult::Case::catalogPlaylist},
        {"Albums", SearchResult::Case::catalogAlbum},
        {"Artists", SearchResult::Case::catalogArtist},
        {"Songs", SearchResult::Case::catalogSong}};
    for (const auto& section : sections) {
        for (const auto& hit : section.results) {
            EXPECT_EQ(hit.resultCase(), caseOfSection.at(section.name)) << section.name;
        }
    }
    const auto& song = sections.back().results.front();
    EXPECT_EQ(song.thumbnailID(), "song-" + song.id());
    ASSERT_TRUE(song.artworkURL());
    EXPECT_TRUE(song.artworkURL()->absoluteString().ends_with("/64x64.png"));
}

TEST_F(CatalogSearchEngineTest, TopResultsStayOutOfTheSections) {
    // One album and a few songs: top results holding both would show up as extra or repeated hits.
    const auto [response, expected] = serviceAnswer("road");
    ASSERT_EQ(response.topResults.size(), 3u);
    const auto sections = CatalogSearchEngine::search("road");
    EXPECT_EQ(outline(sections), expected);
    for (const auto& section : sections) {
        EXPECT_NE(section.name, "Top Results");
    }
}

TEST_F(CatalogSearchEngineTest, QueriesAreTrimmedAndBlankOnesSendNothing) {
    for (const std::string blank : {"", "   ", "\n", " \t\r\n ", "\u2003\u00a0"}) {
        EXPECT_TRUE(CatalogSearchEngine::search(blank).empty());
    }
    EXPECT_TRUE(service->requestedTargets().empty());

    CatalogSearchEngine::search("  Silent Echo\n");
    CatalogSearchEngine::search("no such name anywhere");
    const auto targets = service->requestedTargets();
    ASSERT_EQ(targets.size(), 2u);
    EXPECT_EQ(targets[0], "/v1/catalog/us/search?term=Silent%20Echo&types=playlists,albums,artists,songs"
                          "&limit=25&with=topResults");
    EXPECT_TRUE(CatalogSearchEngine::search("no such name anywhere").empty());
}

TEST_F(CatalogSearchEngineTest, CancellationAndServiceErrorsReachTheCaller) {
    std::stop_source stopped;
    stopped.request_stop();
    EXPECT_THROW(CatalogSearchEngine::search("love", stopped.get_token()), Foundation::CancellationError);
    EXPECT_TRUE(service->requestedTargets().empty());

    service->injectFault(1, DemoFault::delayed(std::chrono::seconds(5)));
    std::stop_source stop;
    const auto started = std::chrono::steady_clock::now();
    std::jthread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        stop.request_stop();
    });
    EXPECT_THROW(CatalogSearchEngine::search("love", stop.get_token()), Foundation::CancellationError);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3));

    service->injectFault(2, DemoFault::errorAnswer(503, 50300));
    try {
        CatalogSearchEngine::search("love");
        ADD_FAILURE() << "no error";
    } catch (const MusicKit::MusicDataRequest::Error& error) {
        EXPECT_EQ(error.status(), 503);
        EXPECT_EQ(error.code(), 50300);
        EXPECT_EQ(error.title(), "Service Unavailable");
    }
}

} // namespace
} // namespace MarrowbellCore
