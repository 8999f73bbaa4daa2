#pragma once

#include "AppTestEnvironment.h"
#include "Model/MainViewModel.h"
#include "Platform/DefaultsKeys.h"

#include <DemoService/DemoServiceTest.h>
#include <MarrowbellCore/Sync/SyncEngine.h>
#include <MusicKit/ApplicationMusicPlayer.h>
#include <QDir>
#include <QFuture>
#include <QTemporaryDir>
#include <QTest>
#include <UnifiedLog/LogStore.h>
#include <algorithm>
#include <future>
#include <memory>
#include <string>
#include <vector>

namespace Marrowbell::Testing {

/// How many log entries so far were written with `format`.
inline std::size_t logCount(const std::string& format) {
    const auto entries = UnifiedLog::LogStore::shared().entries();
    return static_cast<std::size_t>(std::count_if(entries.begin(), entries.end(),
                                                  [&](const auto& entry) { return entry.format == format; }));
}

/// A model over a store in a temporary folder, the in-process demo service and the real player.
class ModelPlaybackTest : public DemoService::Testing::DemoServiceTest<120, 5> {
protected:
    void SetUp() override {
        DemoServiceTest::SetUp();
        environment = makeAppEnvironment(folder, 12);
        // The environment started a demo service of its own; requests go to the test's.
        MusicKit::ServiceConfiguration::setCurrent(service->configuration());
        environment->defaults().setValue(DefaultsKeys::performedFullSync, true);
        player = std::make_unique<MusicKit::ApplicationMusicPlayer>();
        model = std::make_unique<MainViewModel>(*environment, *player);
    }
    void TearDown() override {
        model.reset();
        player.reset();
        environment.reset();
        DemoServiceTest::TearDown();
    }

    /// Mirrors the demo library's songs into the store.
    void syncLibrarySongs() {
        SharedStore& store = environment->store();
        auto sync = environment->background().run([&store](std::stop_token stopToken) {
            MarrowbellCore::SyncEngine(store.database()).syncSongs(stopToken);
        });
        ASSERT_TRUE(finishes(sync));
        sync.waitForFinished();
    }

    /// A catalog song of the demo service as the player knows it, with its artwork.
    static MusicKit::Song catalogSong(std::size_t index) {
        const auto& song = library().catalogSongs[index];
        const auto& album = library().catalogAlbums[song.album];
        return MusicKit::Song{MusicKit::MusicItemID(song.id),
                              song.name,
                              library().catalogArtists[album.artist].name,
                              album.name,
                              static_cast<double>(song.durationInMillis) / 1000.0,
                              artworkFor(song.id),
                              std::nullopt};
    }
    static MusicKit::Artwork artworkFor(const std::string& id) {
        return MusicKit::Artwork(service->baseURL() + "/artwork/" + id + "/{w}x{h}.png");
    }
    /// How often the thumbnail of artworkFor(`id`) was requested in this test. (Loads of earlier tests
    /// may still end during this one, so other requests are not counted.)
    static long artworkRequests(const std::string& id) {
        const auto requested = service->requestedArtwork();
        return std::count(requested.begin(), requested.end(), "/artwork/" + id + "/64x64.png");
    }
    /// The catalog song of the first library song, and the last catalog song, which the library lacks.
    static MusicKit::Song songInLibrary() { return catalogSong(library().songs.front().catalogSong); }
    static MusicKit::Song songNotInLibrary() { return catalogSong(library().catalogSongs.size() - 1); }

    /// Blocks the store's one worker until the returned promise is set (or 10 s have passed).
    std::shared_ptr<std::promise<void>> blockStore() {
        auto release = std::make_shared<std::promise<void>>();
        environment->store().run([gate = release->get_future().share()](MarrowbellCore::LocalDatabase&) {
            gate.wait_for(std::chrono::seconds(10));
        });
        return release;
    }

    QTemporaryDir folder;
    std::unique_ptr<AppEnvironment> environment;
    std::unique_ptr<MusicKit::ApplicationMusicPlayer> player;
    std::unique_ptr<MainViewModel> model;
};

} // namespace Marrowbell::Testing
