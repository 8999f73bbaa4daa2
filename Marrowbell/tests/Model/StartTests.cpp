#include "ModelTestFixture.h"

#include <MusicKit/ServiceConfiguration.h>
#include <QSignalSpy>
#include <mutex>

namespace Marrowbell::Testing {
namespace {

using StartTest = ModelTest;

/// Every fraction a progress object reports, from whichever thread reports it.
class FractionRecorder {
public:
    explicit FractionRecorder(Foundation::Progress& progress) {
        progress.addObserver([this](const Foundation::Progress& changed) {
            const std::lock_guard lock(mutex_);
            fractions_.push_back(changed.fractionCompleted());
        });
    }
    std::vector<double> fractions() const {
        const std::lock_guard lock(mutex_);
        return fractions_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<double> fractions_;
};

TEST_F(StartTest, FirstStartSyncsTheLibraryBehindTheToastThenSelectsPlaylists) {
    const QFuture<void> started = model->start();

    ASSERT_TRUE(model->syncProgress.get());
    Foundation::Progress& progress = *model->syncProgress.get();
    FractionRecorder recorder(progress);
    EXPECT_EQ(progress.totalUnitCount(), 100);
    EXPECT_LT(progress.fractionCompleted(), 1.0);
    EXPECT_TRUE(model->showSyncingToast.get());
    EXPECT_TRUE(model->isFullSyncRunning.get());
    EXPECT_TRUE(model->navigationPath.get().empty()) << "the pod shows nothing until the sync has ended";

    ASSERT_TRUE(finishes(started));
    EXPECT_TRUE(environment->defaults().boolValue(DefaultsKeys::performedFullSync));
    EXPECT_FALSE(model->showSyncingToast.get());
    EXPECT_FALSE(model->isFullSyncRunning.get());
    EXPECT_EQ(model->syncProgress.get().get(), &progress) << "the last progress stays";
    EXPECT_DOUBLE_EQ(progress.fractionCompleted(), 1.0);
    const auto fractions = recorder.fractions();
    ASSERT_FALSE(fractions.empty());
    EXPECT_TRUE(std::is_sorted(fractions.begin(), fractions.end()));
    EXPECT_DOUBLE_EQ(fractions.back(), 1.0);
    EXPECT_FALSE(storedSongs().empty());
    EXPECT_EQ(model->selectedContainerKindID.get(), QStringLiteral("playlists"));
    EXPECT_EQ(model->navigationPath.get(), pathOf(ContainerKind::playlists));
    EXPECT_EQ(model->activePane.get(), 0);
}

TEST_F(StartTest, StartRunsOnceAndUpdateLibraryDuringASyncFollowsItOnce) {
    const QFuture<void> started = model->start();
    const auto firstProgress = model->syncProgress.get();

    const QFuture<void> queued = model->performFullSync();
    EXPECT_FALSE(queued.isFinished()) << "Update Library during the first sync waits for it";
    const QFuture<void> queuedAgain = model->performFullSync();
    EXPECT_EQ(model->syncProgress.get(), firstProgress) << "no two syncs at once";
    EXPECT_TRUE(model->showSyncingToast.get());
    const QFuture<void> startedAgain = model->start();
    EXPECT_FALSE(startedAgain.isFinished()) << "a second start waits for the first one";

    ASSERT_TRUE(finishes(started));
    EXPECT_TRUE(startedAgain.isFinished());
    EXPECT_FALSE(queued.isFinished());
    EXPECT_NE(model->syncProgress.get(), firstProgress) << "the queued sync runs after the first";
    ASSERT_TRUE(finishes(queued));
    EXPECT_TRUE(queuedAgain.isFinished()) << "the further request joined the queued sync";
    EXPECT_FALSE(model->isFullSyncRunning.get()) << "two requests, one more sync";
    const auto queuedProgress = model->syncProgress.get();

    // A later start repeats nothing: the kind chosen since stays.
    model->selectContainerKind(QStringLiteral("albums"));
    EXPECT_TRUE(model->start().isFinished());
    EXPECT_EQ(model->selectedContainerKindID.get(), QStringLiteral("albums"));
    EXPECT_EQ(model->navigationPath.get(), pathOf(ContainerKind::albums));

    // Update Library afterwards runs a new sync.
    const QFuture<void> update = model->performFullSync();
    EXPECT_NE(model->syncProgress.get(), queuedProgress);
    EXPECT_TRUE(model->isFullSyncRunning.get());
    ASSERT_TRUE(finishes(update));
    EXPECT_FALSE(model->isFullSyncRunning.get());
}

TEST_F(StartTest, LaterLaunchSkipsTheSyncAndFollowsEachPlayerBurstOnceWhateverTheStarts) {
    ASSERT_TRUE(finishes(model->performFullSync()));
    const auto syncedProgress = model->syncProgress.get();
    const QFuture<void> started = model->start();
    EXPECT_TRUE(started.isFinished());
    EXPECT_EQ(model->syncProgress.get(), syncedProgress) << "no second full sync";
    EXPECT_FALSE(model->showSyncingToast.get());
    EXPECT_EQ(model->navigationPath.get(), pathOf(ContainerKind::playlists));
    model->start();
    model->start();

    QSignalSpy refreshes(&environment->notifications(), &AppNotifications::reloadVisibleRows);
    // A burst of queue changes.
    player->setQueue(playable(storedSongs()));
    player->queue().move({0}, 2);
    player->queue().remove({1});
    QTest::qWait(300);
    EXPECT_EQ(refreshes.count(), 1);
}

TEST_F(StartTest, FailedFullSyncKeepsTheFlagHidesTheToastAndStillStartsBrowsing) {
    auto unreachable = MusicKit::ServiceConfiguration::requireCurrent();
    unreachable.apiBase = "http://127.0.0.1:1";
    MusicKit::ServiceConfiguration::setCurrent(unreachable);

    ASSERT_TRUE(finishes(model->start()));
    EXPECT_FALSE(environment->defaults().boolValue(DefaultsKeys::performedFullSync));
    EXPECT_EQ(model->fullSyncFailure.get(), QStringLiteral("Marrowbell Demo could not be reached."));
    EXPECT_FALSE(model->showSyncingToast.get());
    EXPECT_FALSE(model->isFullSyncRunning.get());
    EXPECT_EQ(model->navigationPath.get(), pathOf(ContainerKind::playlists));
}

} // namespace
} // namespace Marrowbell::Testing
