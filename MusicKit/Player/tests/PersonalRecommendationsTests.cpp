#include <DemoService/DemoServiceTest.h>
#include <MusicKit/MusicDataRequest.h>
#include <MusicKit/MusicPersonalRecommendationsRequest.h>
#include <MusicKit/URLError.h>
#include <gtest/gtest.h>

namespace MusicKit {
namespace {

using ItemKind = MusicPersonalRecommendationItem::Kind;

class PersonalRecommendationsTest : public DemoService::Testing::DemoServiceTest<100, 5> {};

TEST_F(PersonalRecommendationsTest, MadeForYouHoldsPlaylistsAndStationsForYouStationsWithArtwork) {
    const auto response = MusicPersonalRecommendationsRequest().response();
    ASSERT_EQ(response.recommendations.size(), 2u);
    const auto& madeForYou = response.recommendations[0];
    const auto& stations = response.recommendations[1];
    EXPECT_EQ(madeForYou.title, "Made for You");
    EXPECT_EQ(stations.title, "Stations for You");
    ASSERT_FALSE(madeForYou.items.empty());
    ASSERT_FALSE(stations.items.empty());
    for (const auto& item : madeForYou.items) {
        EXPECT_EQ(item.kind, ItemKind::playlist);
        ASSERT_TRUE(item.artwork);
        EXPECT_TRUE(item.artwork->url(64, 64)) << item.id.rawValue();
    }
    for (const auto& item : stations.items) {
        EXPECT_EQ(item.kind, ItemKind::station);
        EXPECT_FALSE(item.title.empty());
        EXPECT_TRUE(item.artwork);
    }
}

TEST_F(PersonalRecommendationsTest, RefusedTokensAndBrokenConnectionsAreTypedErrors) {
    auto configuration = service->configuration();
    configuration.userToken = "not-the-user";
    ServiceConfiguration::setCurrent(configuration);
    try {
        MusicPersonalRecommendationsRequest().response();
        ADD_FAILURE() << "a wrong token is refused";
    } catch (const MusicDataRequest::Error& error) {
        EXPECT_EQ(error.status(), 401);
        EXPECT_EQ(error.code(), 40100);
    }

    ServiceConfiguration::setCurrent(service->configuration());
    service->injectFault(service->requestedTargets().size() + 1, DemoService::DemoFault::truncatedBody());
    EXPECT_THROW(MusicPersonalRecommendationsRequest().response(), URLError);
}

} // namespace
} // namespace MusicKit
