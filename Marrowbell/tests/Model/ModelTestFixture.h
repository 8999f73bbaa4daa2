#pragma once

#include "AppTestEnvironment.h"
#include "Model/MainViewModel.h"
#include "Platform/DefaultsKeys.h"

#include <MarrowbellCore/Store/LocalDatabase.h>
#include <MusicKit/ApplicationMusicPlayer.h>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace Marrowbell::Testing {

/// A central model over a real store and settings in a temporary folder, the demo service in-process and a
/// real player on a silent sink.
class ModelTest : public ::testing::Test {
protected:
    static constexpr std::size_t demoSongCount = 40;

    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        environment = makeAppEnvironment(folder, demoSongCount);
        player = std::make_unique<MusicKit::ApplicationMusicPlayer>();
        model = std::make_unique<MainViewModel>(*environment, *player);
    }

    void TearDown() override {
        model.reset();
        player.reset();
        environment.reset();
    }

    /// Starts the model as on a later launch: no full sync.
    void startWithoutFullSync() {
        environment->defaults().setValue(DefaultsKeys::performedFullSync, true);
        ASSERT_TRUE(finishes(model->start()));
    }

    template <class Work> auto inStore(Work work) {
        auto future = environment->store().run(std::move(work));
        EXPECT_TRUE(finishes(future));
        return future.result();
    }

    std::vector<MarrowbellCore::LocalSong> storedSongs() {
        return inStore([](MarrowbellCore::LocalDatabase& database) {
            return database.allLibrarySongs(
                MarrowbellCore::SortDescriptor<MarrowbellCore::LocalSong>::keyPath(
                    &MarrowbellCore::LocalSong::title,
                    [](const auto& lhs, const auto& rhs) { return std::weak_order(lhs, rhs); }));
        });
    }

    static std::vector<MusicKit::Song> playable(const std::vector<MarrowbellCore::LocalSong>& songs) {
        std::vector<MusicKit::Song> queue;
        for (const auto& song : songs) {
            queue.push_back(MusicKit::Song{song.id(), song.title, song.artistName.value_or(std::string()),
                                           song.albumTitle, song.duration, std::nullopt,
                                           song.playParameters()});
        }
        return queue;
    }

    QTemporaryDir folder;
    std::unique_ptr<AppEnvironment> environment;
    std::unique_ptr<MusicKit::ApplicationMusicPlayer> player;
    std::unique_ptr<MainViewModel> model;
};

inline std::vector<NavigationItem> pathOf(ContainerKind kind) {
    return {NavigationItem::root(), NavigationItem::container(kind)};
}

inline std::vector<NavigationItem> pathOf(ContainerKind kind, const QString& id, const QString& title) {
    return {NavigationItem::root(), NavigationItem::container(kind),
            NavigationItem::songCollection(id, title)};
}

} // namespace Marrowbell::Testing
