#include <DemoService/DelayingRelay.h>
#include <DemoService/DemoServiceTest.h>
#include <MusicKit/MusicDataRequest.h>
#include <algorithm>
#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <set>
#include <tuple>

using DemoService::DemoLibrary;
using MusicKit::MusicDataRequest;

namespace {

bool hasName(const DemoLibrary& library, const std::function<bool(const std::string&)>& test) {
    return std::any_of(library.catalogSongs.begin(), library.catalogSongs.end(),
                       [&](const auto& song) { return test(song.name); });
}

class DemoServiceTests : public DemoService::Testing::DemoServiceTest<230, 11> {
protected:
    static std::string get(const std::string& target, const std::string& base = service->baseURL()) {
        return MusicDataRequest(MusicKit::URLRequest(*Foundation::URL::fromString(base + target)))
            .response()
            .data;
    }
};

} // namespace

TEST(DemoLibraryTests, IsDeterministicAndShapedLikeARealLibrary) {
    const auto library = DemoLibrary::generate(10000, 1);
    const auto again = DemoLibrary::generate(10000, 1);
    const auto other = DemoLibrary::generate(10000, 2);
    EXPECT_EQ(library.songs.back().id, again.songs.back().id);
    EXPECT_EQ(library.catalogSongs[77].name, again.catalogSongs[77].name);
    EXPECT_NE(library.songs.back().id, other.songs.back().id);

    EXPECT_EQ(library.songs.size(), 10000u);
    EXPECT_NEAR(library.albums.size() / 10000.0, 0.08, 0.02);
    EXPECT_NEAR(library.artists.size() / 10000.0, 0.025, 0.01);
    EXPECT_EQ(library.playlists.size(), 30u);
    EXPECT_GT(library.catalogSongs.size(), 14000u);
    EXPECT_TRUE(library.playlists[1].tracks.empty());
    EXPECT_GT(library.playlists[0].tracks.size(), 100u);

    EXPECT_TRUE(
        hasName(library, [](const std::string& name) { return name.find('"') != std::string::npos; }));
    EXPECT_TRUE(
        hasName(library, [](const std::string& name) { return name.find('\'') != std::string::npos; }));
    EXPECT_TRUE(
        hasName(library, [](const std::string& name) { return name.find("東京") != std::string::npos; }));
    const auto [oldest, newest] =
        std::minmax_element(library.albums.begin(), library.albums.end(),
                            [](const auto& a, const auto& b) { return a.dateAdded < b.dateAdded; });
    EXPECT_GT(newest->dateAdded - oldest->dateAdded, 5 * 365 * 86400);
}

TEST_F(DemoServiceTests, PagesCarryNextExactlyWhileMoreFollowAndTheTotal) {
    std::string target = "/v1/me/library/songs?limit=100&sort=-dateAdded";
    std::vector<std::string> dates;
    std::vector<std::string> ids;
    for (int page = 0; page < 5 && !target.empty(); ++page) {
        const auto json = nlohmann::json::parse(get(target));
        EXPECT_EQ(json["meta"]["total"], 230);
        for (const auto& song : json["data"]) {
            ids.push_back(song["id"]);
            dates.push_back(song["attributes"]["dateAdded"]);
            EXPECT_FALSE(song.contains("relationships"));
        }
        target = json.value("next", "");
        EXPECT_EQ(target.empty(), ids.size() == 230) << target;
    }
    EXPECT_EQ(ids.size(), 230u);
    EXPECT_TRUE(std::is_sorted(dates.rbegin(), dates.rend()));
    EXPECT_EQ(std::set<std::string>(ids.begin(), ids.end()).size(), 230u);
}

TEST_F(DemoServiceTests, AnswersRelationshipsErrorsAndArtwork) {
    const auto songs = nlohmann::json::parse(get("/v1/me/library/songs?limit=1&include=artists,albums"));
    EXPECT_TRUE(songs["data"][0]["relationships"]["albums"]["data"][0].contains("id"));
    const auto artists = nlohmann::json::parse(get("/v1/me/library/artists?limit=1&include=catalog"));
    EXPECT_TRUE(artists["data"][0]["relationships"]["catalog"]["data"][0]["attributes"].contains("artwork"));

    for (const auto& [target, status, code] : std::vector<std::tuple<std::string, long, std::int64_t>>{
             {"/v1/me/library/songs?limit=101", 400, 40005},
             {"/v1/me/library/songs?sort=name", 400, 40005},
             {"/v1/me/library/playlists/" + library().playlists[1].id + "/tracks", 404, 40403},
             {"/v1/me/library/albums/l.none/tracks", 404, 40400}}) {
        try {
            get(target);
            ADD_FAILURE() << target;
        } catch (const MusicDataRequest::Error& error) {
            EXPECT_EQ(error.status(), status) << target;
            EXPECT_EQ(error.code(), code) << target;
        }
    }

    const std::string artworkTemplate = songs["data"][0]["attributes"]["artwork"]["url"];
    ASSERT_EQ(artworkTemplate.rfind(service->baseURL(), 0), 0u);
    std::string url = artworkTemplate.substr(service->baseURL().size());
    url.replace(url.find("{w}x{h}"), 7, "64x48");
    const std::string png = get(url);
    EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
    EXPECT_EQ(service->requestedArtwork(), std::vector<std::string>{url}) << "logged apart from the API";
    EXPECT_EQ(png.substr(16, 8), std::string("\0\0\0\x40\0\0\0\x30", 8));
}

TEST_F(DemoServiceTests, ARelayHoldsBackTheChosenAnswersAndHandsOutAudioThroughItself) {
    using namespace std::chrono;
    DemoService::Testing::DelayingRelay relay(
        DemoService::Testing::DelayingRelay::portOf(service->baseURL()));
    const std::string playback = "/v1/me/playback/songs/" + library().catalogSongs[3].id;
    relay.delay("/v1/me/playback/", milliseconds(400));

    const auto start = steady_clock::now();
    const auto relayed = nlohmann::json::parse(get(playback, relay.baseURL()));
    EXPECT_GE(steady_clock::now() - start, milliseconds(400));
    const auto direct = nlohmann::json::parse(get(playback));
    EXPECT_EQ(relayed["data"][0]["attributes"], direct["data"][0]["attributes"]);
    // The audio is reached the way the request came, so it streams through the relay too.
    const std::string audio = relayed["data"][0]["assetURL"];
    EXPECT_EQ(audio.rfind(relay.baseURL() + "/audio/", 0), 0u) << audio;
    EXPECT_EQ(std::string(direct["data"][0]["assetURL"]).rfind(service->baseURL() + "/audio/", 0), 0u);

    // Answers on one connection stay whole and in order, held or not.
    relay.delay("/v1/me/storefront", milliseconds(100));
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ(get("/v1/me/storefront", relay.baseURL()), get("/v1/me/storefront"));
        EXPECT_EQ(nlohmann::json::parse(get(playback, relay.baseURL()))["data"][0]["id"],
                  direct["data"][0]["id"]);
    }
}
