#include <DemoService/DemoService.h>
#include <MusicKit/MusicDataRequest.h>
#include <atomic>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <thread>

using DemoService::DemoLibrary;
using MusicKit::MusicDataRequest;
using nlohmann::json;

namespace {

/// A service of its own for every test: adding songs changes its library.
class CatalogServiceTests : public ::testing::Test {
protected:
    CatalogServiceTests()
        : service(DemoService::DemoService::Options{200, 7}) {}
    void SetUp() override {
        service.start();
        MusicKit::ServiceConfiguration::setCurrent(service.configuration());
    }
    void TearDown() override { MusicKit::ServiceConfiguration::setCurrent(std::nullopt); }

    MusicKit::MusicDataResponse send(const std::string& target, const std::string& method = "GET") {
        MusicKit::URLRequest request(*Foundation::URL::fromString(service.baseURL() + target));
        request.httpMethod = method;
        return MusicDataRequest(request).response();
    }
    json get(const std::string& target) { return json::parse(send(target).data); }
    long add(const std::string& catalogID) {
        return send("/v1/me/library?ids[songs]=" + catalogID, "POST").statusCode;
    }

    std::vector<std::string> names(const json& list) {
        std::vector<std::string> result;
        for (const auto& resource : list["data"]) {
            result.push_back(resource["type"].get<std::string>() + ":" +
                             resource["attributes"]["name"].get<std::string>());
        }
        return result;
    }
    std::pair<long, std::int64_t> failure(const std::string& target, const std::string& method = "GET") {
        try {
            send(target, method);
        } catch (const MusicDataRequest::Error& error) {
            return {error.status(), error.code()};
        }
        return {200, 0};
    }

    const DemoLibrary& library() const { return service.library(); }
    DemoService::DemoService service;
};

const std::string allKinds = "&types=playlists,albums,artists,songs";

} // namespace

TEST_F(CatalogServiceTests, SearchMatchesRegardlessOfCaseAndRanksWholeNamesThenStartsThenTheRest) {
    const auto echo = get("/v1/catalog/us/search?term=eCHo&limit=25&with=topResults" + allKinds)["results"];
    EXPECT_EQ(echo, get("/v1/catalog/us/search?term=ECHO&limit=25&with=topResults" + allKinds)["results"]);
    EXPECT_EQ(names(echo["albums"]),
              (std::vector<std::string>{"albums:Echo", "albums:O'Neil's Echo", "albums:Über Dreamin' Echo"}));
    EXPECT_FALSE(echo.contains("playlists")) << "kinds without hits are left out";
    EXPECT_EQ(names(echo["top"]), (std::vector<std::string>{"albums:Echo", "songs:Echo", "songs:Echo"}));

    std::vector<std::size_t> rank;
    std::vector<long long> ids;
    for (const auto& song : echo["songs"]["data"]) {
        std::string name = song["attributes"]["name"];
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return std::tolower(c); });
        ASSERT_NE(name.find("echo"), std::string::npos) << name;
        rank.push_back(name == "echo" ? 0 : name.starts_with("echo") ? 1 : 2);
        ids.push_back(std::stoll(song["id"].get<std::string>()));
    }
    EXPECT_TRUE(std::is_sorted(rank.begin(), rank.end()));
    for (std::size_t i = 1; i < ids.size(); ++i) {
        EXPECT_TRUE(rank[i - 1] < rank[i] || ids[i - 1] < ids[i]) << "catalog order within a rank";
    }

    const auto uber = names(get("/v1/catalog/us/search?term=%C3%BCBER&types=songs")["results"]["songs"]);
    EXPECT_EQ(uber, names(get("/v1/catalog/us/search?term=%C3%9Cber&types=songs")["results"]["songs"]));
    ASSERT_FALSE(uber.empty());
    EXPECT_EQ(uber[0], "songs:Über");
    EXPECT_EQ(get("/v1/catalog/us/search?term=heart&types=songs&limit=7")["results"]["songs"]["data"].size(),
              7u);
    EXPECT_EQ(get("/v1/catalog/us/search?term=heart&types=songs")["results"]["songs"]["data"].size(), 5u);
    EXPECT_EQ(get("/v1/catalog/us/search?term=zzzz" + allKinds), json::parse(R"({"results":{}})"));
    for (const std::string bad :
         {"term=&types=songs", "term=a&types=videos", "term=a", "term=a&types=songs&limit=26"}) {
        EXPECT_EQ(failure("/v1/catalog/us/search?" + bad), (std::pair<long, std::int64_t>{400, 40005}))
            << bad;
    }
    EXPECT_EQ(failure("/v1/catalog/gb/search?term=a&types=songs"),
              (std::pair<long, std::int64_t>{404, 40400}));
}

TEST_F(CatalogServiceTests, AnAddedSongIsTheNewestWithItsAlbumAndArtist) {
    const std::size_t songCount = library().songs.size();
    const std::size_t catalogIndex = library().catalogSongs.size() - 1;
    const auto& catalogSong = library().catalogSongs[catalogIndex];
    const auto& catalogAlbum = library().catalogAlbums[catalogSong.album];
    ASSERT_GE(catalogAlbum.songs.size(), 2u);
    EXPECT_EQ(add(catalogSong.id), 202);

    const auto songs = get("/v1/me/library/songs?limit=100&offset=0&sort=-dateAdded&include=artists,albums");
    EXPECT_EQ(songs["meta"]["total"], songCount + 1);
    const auto& newest = songs["data"][0];
    EXPECT_EQ(newest["attributes"]["name"], catalogSong.name);
    EXPECT_EQ(newest["attributes"]["playParams"]["catalogId"], catalogSong.id);
    EXPECT_EQ(newest["attributes"]["artistName"], library().catalogArtists[catalogAlbum.artist].name);
    EXPECT_EQ(newest["id"], library().songs.back().id);
    const std::string albumID = newest["relationships"]["albums"]["data"][0]["id"];
    const auto albums = get("/v1/me/library/albums?limit=1&sort=-dateAdded");
    EXPECT_EQ(albums["data"][0]["id"], albumID);
    EXPECT_EQ(albums["data"][0]["attributes"]["trackCount"], 1);
    const std::string artistID = newest["relationships"]["artists"]["data"][0]["id"];
    EXPECT_EQ(get("/v1/me/library/artists?ids=" + artistID)["data"].size(), 1u);

    // The album's first song joins it before the one already there.
    EXPECT_EQ(add(library().catalogSongs[catalogAlbum.songs.front()].id), 202);
    EXPECT_EQ(add(catalogSong.id), 202) << "a song already in the library changes nothing";
    EXPECT_EQ(get("/v1/me/library/songs?limit=1")["meta"]["total"], songCount + 2);
    const auto tracks = get("/v1/me/library/albums/" + albumID + "/tracks");
    ASSERT_EQ(tracks["data"].size(), 2u);
    EXPECT_EQ(tracks["data"][1]["attributes"]["name"], catalogSong.name);
    EXPECT_EQ(get("/v1/me/library/albums?ids=" + albumID)["data"][0]["attributes"]["trackCount"], 2);
}

TEST_F(CatalogServiceTests, AddingAnUnknownOrMissingSongFails) {
    const std::size_t songCount = library().songs.size();
    EXPECT_EQ(failure("/v1/me/library?ids[songs]=42", "POST"), (std::pair<long, std::int64_t>{404, 40400}));
    EXPECT_EQ(failure("/v1/me/library?ids[songs]=" + library().songs[0].id, "POST"),
              (std::pair<long, std::int64_t>{404, 40400}))
        << "a library identifier is no catalog song";
    EXPECT_EQ(failure("/v1/me/library", "POST"), (std::pair<long, std::int64_t>{400, 40005}));
    EXPECT_EQ(library().songs.size(), songCount);
}

TEST_F(CatalogServiceTests, LookupsAnswerTheMatchingItemsInTheOrderAskedFor) {
    const auto& playlists = library().playlists;
    const auto found = get("/v1/me/library/playlists?ids=" + playlists[2].id + ",p.none," + playlists[0].id);
    ASSERT_EQ(found["data"].size(), 2u);
    EXPECT_EQ(found["data"][0]["id"], playlists[2].id);
    EXPECT_EQ(found["data"][1]["id"], playlists[0].id);
    EXPECT_FALSE(found.contains("meta"));
    EXPECT_EQ(get("/v1/me/library/songs?ids=" + library().songs[5].id)["data"][0]["id"],
              library().songs[5].id);
    EXPECT_EQ(get("/v1/me/library/albums?ids=" + playlists[0].id), json::parse(R"({"data":[]})"));
}

TEST_F(CatalogServiceTests, ReadersAndAddsRunSideBySide) {
    const std::size_t songCount = library().songs.size();
    const std::size_t addCount = 150;
    const std::string albumID = library().albums[0].id;
    std::atomic<bool> adding = true;
    std::atomic<int> failures = 0;
    {
        std::vector<std::jthread> readers;
        for (int t = 0; t < 3; ++t) {
            readers.emplace_back([&] {
                for (int i = 0; i < 1000 && adding; ++i) {
                    try {
                        get("/v1/me/library/songs?limit=100&sort=-dateAdded&include=artists,albums");
                        get("/v1/me/library/albums/" + albumID + "/tracks");
                    } catch (const std::exception&) {
                        ++failures;
                    }
                }
            });
        }
        for (std::size_t i = 0; i < addCount; ++i) {
            EXPECT_EQ(add(library().catalogSongs[library().catalogSongs.size() - 1 - i].id), 202);
        }
        adding = false;
    }
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(get("/v1/me/library/songs?limit=1")["meta"]["total"], songCount + addCount);
}
