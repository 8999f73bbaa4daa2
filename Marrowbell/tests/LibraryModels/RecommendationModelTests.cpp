#include "LibraryModelsTestFixture.h"

#include <DemoService/DemoFault.h>
#include <chrono>

namespace Marrowbell::Testing {
namespace {

using ItemKind = MusicKit::MusicPersonalRecommendationItem::Kind;
using RecommendationModelTest = LibraryModelsTest;

TEST_F(RecommendationModelTest, MadeForYouAndStationsListTheirRecommendationAndSelectTheFirstItem) {
    ASSERT_TRUE(finishes(madeForYou->load()));
    ASSERT_TRUE(finishes(stations->load()));

    ASSERT_EQ(madeForYou->recommendations.get().size(), 1u);
    EXPECT_EQ(madeForYou->recommendations.get().front().title, "Made for You");
    ASSERT_FALSE(madeForYou->items.get().empty());
    EXPECT_EQ(madeForYou->items.get(), madeForYou->recommendations.get().front().items);
    ASSERT_EQ(stations->recommendations.get().size(), 1u);
    EXPECT_EQ(stations->recommendations.get().front().title, "Stations for You");
    ASSERT_FALSE(stations->items.get().empty());
    EXPECT_EQ(model->selectedMadeForYouID.get(), madeForYou->items.get().front().id);
    EXPECT_EQ(model->selectedStationID.get(), stations->items.get().front().id);

    // A stale selection stays.
    const MusicKit::MusicItemID stale("gone");
    model->selectedStationID.set(stale);
    ASSERT_TRUE(finishes(stations->load()));
    EXPECT_EQ(model->selectedStationID.get(), stale);
}

TEST_F(RecommendationModelTest, SearchSectionsHoldTheItemsWhoseTitleContainsTheText) {
    ASSERT_TRUE(finishes(stations->load()));
    const auto& station = stations->items.get().front();
    const QString title = QString::fromStdString(station.title);
    const QString middle = title.mid(1, std::max<qsizetype>(1, title.size() - 2)).toUpper();

    const auto sections = stations->searchSection(QStringLiteral("  ") + middle + QStringLiteral("\n"));
    ASSERT_EQ(sections.size(), 1u);
    EXPECT_EQ(sections.front().name, "Stations for You");
    ASSERT_FALSE(sections.front().results.empty());
    EXPECT_EQ(sections.front().results.front().resultCase(), MarrowbellCore::SearchResult::Case::station);
    EXPECT_TRUE(stations->searchSection(QStringLiteral("   ")).empty());
    EXPECT_TRUE(stations->searchSection(QStringLiteral("nothing is called this")).empty());
}

TEST_F(RecommendationModelTest, PlayingAnItemQueuesItWholeThroughThePlayer) {
    ASSERT_TRUE(finishes(madeForYou->load()));
    ASSERT_TRUE(finishes(stations->load()));
    const auto playlist = madeForYou->items.get().front();

    ASSERT_TRUE(finishes(madeForYou->play(playlist.id, true)));
    EXPECT_FALSE(model->showPlayError.get());
    EXPECT_FALSE(model->isStopped.get());
    EXPECT_FALSE(model->eagerEntry.get());
    EXPECT_EQ(player->state().shuffleMode(), MusicKit::MusicPlayerShuffleMode::songs);
    EXPECT_FALSE(player->queue().entries().empty());
    EXPECT_EQ(player->state().playbackStatus(), MusicKit::MusicPlayerPlaybackStatus::playing);
    EXPECT_TRUE(model->lastSavedSnapbackState.get());

    const auto station = stations->items.get().front();
    ASSERT_TRUE(finishes(stations->play(station.id)));
    EXPECT_FALSE(model->showPlayError.get());
    EXPECT_EQ(player->state().shuffleMode(), std::nullopt);
    ASSERT_EQ(player->queue().entries().size(), 1u);
    EXPECT_EQ(player->queue().entries().front().title, station.title);
}

TEST_F(RecommendationModelTest, UnknownAndUnplayableItemsLeaveThePlayerAlone) {
    ASSERT_TRUE(finishes(madeForYou->load()));
    ASSERT_TRUE(finishes(madeForYou->play(madeForYou->items.get().front().id, false)));
    const auto queued = player->queue().entries().size();
    model->lastSavedSnapbackState.set(std::nullopt);

    ASSERT_TRUE(finishes(madeForYou->play(MusicKit::MusicItemID("no-such-item"), false)));
    ASSERT_TRUE(finishes(madeForYou->play(std::nullopt, false)));
    EXPECT_FALSE(model->showPlayError.get());
    EXPECT_FALSE(model->lastSavedSnapbackState.get());

    auto recommendations = madeForYou->recommendations.get();
    MusicKit::MusicPersonalRecommendationItem unplayable = recommendations.front().items.front();
    unplayable.id = MusicKit::MusicItemID("unplayable");
    unplayable.kind = static_cast<ItemKind>(7);
    recommendations.front().items.push_back(unplayable);
    madeForYou->recommendations.set(recommendations);
    ASSERT_TRUE(finishes(madeForYou->play(unplayable.id, false)));
    EXPECT_TRUE(model->showPlayError.get()) << "reported and shown";
    EXPECT_FALSE(model->lastSavedSnapbackState.get());
    EXPECT_EQ(player->queue().entries().size(), queued);
}

TEST_F(RecommendationModelTest, AnOlderAnswerArrivingLateChangesNothing) {
    service->injectFault(1, DemoService::DemoFault::delayed(std::chrono::milliseconds(700)));
    QFuture<void> older = madeForYou->load();
    QTest::qWait(100);
    QFuture<void> newer = madeForYou->load();
    ASSERT_TRUE(finishes(newer));
    ASSERT_FALSE(older.isFinished()) << "the first request is still delayed";
    ASSERT_FALSE(madeForYou->items.get().empty());

    madeForYou->items.set({});
    ASSERT_TRUE(finishes(older));
    EXPECT_TRUE(madeForYou->items.get().empty());
}

TEST_F(RecommendationModelTest, AFailedLoadKeepsTheRows) {
    ASSERT_TRUE(finishes(stations->load()));
    const auto rows = stations->items.get();
    service->injectFault(2, DemoService::DemoFault::errorAnswer(500, 50000));
    ASSERT_TRUE(finishes(stations->load()));
    EXPECT_EQ(stations->items.get(), rows);
}

} // namespace
} // namespace Marrowbell::Testing
