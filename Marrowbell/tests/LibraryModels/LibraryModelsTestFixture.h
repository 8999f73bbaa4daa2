#pragma once

#include "AppTestEnvironment.h"
#include "LibraryModels/DetailSongsViewModel.h"
#include "LibraryModels/LibraryListViewModel.h"
#include "LibraryModels/MadeForYouViewModel.h"
#include "LibraryModels/StationsViewModel.h"
#include "LibraryModels/TopLevelSongsViewModel.h"
#include "MainWindow/AppModels.h"
#include "Model/MainViewModel.h"
#include "Platform/DefaultsKeys.h"

#include <DemoService/DemoService.h>
#include <Foundation/Date.h>
#include <MarrowbellCore/Store/LocalDatabase.h>
#include <MarrowbellCore/Sync/SyncEngine.h>
#include <MusicKit/ApplicationMusicPlayer.h>
#include <MusicKit/ServiceConfiguration.h>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace Marrowbell::Testing {

/// The list models over a real store and settings in a temporary folder, a real player on a silent sink,
/// and one demo service per suite that the application reaches through the user's service file, so that the
/// tests can read its request log and plan faults.
class LibraryModelsTest : public ::testing::Test {
protected:
    static constexpr std::size_t demoSongCount = 500;

    static void SetUpTestSuite() {
        service =
            std::make_unique<DemoService::DemoService>(DemoService::DemoService::Options{demoSongCount, 3});
        service->start();
        const auto path = MusicKit::ServiceConfiguration::userFilePath();
        std::filesystem::create_directories(path.parent_path());
        QFile file(QString::fromStdString(path.string()));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        const auto configuration = service->configuration();
        file.write(QStringLiteral(
                       R"({"apiBase": "%1", "developerToken": "%2", "userToken": "%3", "storefront": "%4"})")
                       .arg(QString::fromStdString(configuration.apiBase),
                            QString::fromStdString(configuration.developerToken),
                            QString::fromStdString(configuration.userToken),
                            QString::fromStdString(configuration.storefront))
                       .toUtf8());
    }
    static void TearDownTestSuite() {
        std::filesystem::remove(MusicKit::ServiceConfiguration::userFilePath());
        service.reset();
    }

    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        service->reset();
        environment = makeAppEnvironment(folder);
        models = std::make_unique<AppModels>(*environment);
        player = models->player.get();
        model = models->main.get();
        detail = models->detailSongs.get();
        songs = models->topLevelSongs.get();
        playlists = models->playlists.get();
        albums = models->albums.get();
        artists = models->artists.get();
        madeForYou = models->madeForYou.get();
        stations = models->stations.get();
    }

    void TearDown() override {
        models.reset();
        environment->shutDown();
        environment.reset();
    }

    /// Mirrors the demo library into the store, as the first start does.
    void syncWholeLibrary() {
        SharedStore& store = environment->store();
        auto sync = environment->background().run([&store](std::stop_token stopToken) {
            const auto progress = Foundation::Progress::make(100);
            MarrowbellCore::SyncEngine(store.database()).syncAll(*progress, stopToken);
        });
        ASSERT_TRUE(finishes(sync, 60000));
        sync.waitForFinished();
        service->reset();
    }

    template <class Work> auto inStore(Work work) {
        auto future = environment->store().run(std::move(work));
        EXPECT_TRUE(finishes(future));
        return future.result();
    }

    /// How many requests so far asked for a path holding `part`.
    static std::size_t requestsFor(const std::string& part) {
        const auto targets = service->requestedTargets();
        return static_cast<std::size_t>(
            std::count_if(targets.begin(), targets.end(),
                          [&](const std::string& target) { return target.find(part) != std::string::npos; }));
    }

    /// Stores a last-refresh time `secondsAgo` before now (negative: in the future).
    void setLastRefresh(QAnyStringView key, double secondsAgo) {
        environment->defaults().setValue(key,
                                         Foundation::Date::now().timeIntervalSinceReferenceDate - secondsAgo);
    }

    /// The pod shows the list of `kind`, as the root list's selection leaves it.
    void showKind(ContainerKind kind) {
        model->selectedContainerKindID.set(containerKindID(kind));
        model->navigationPath.set({NavigationItem::root(), NavigationItem::container(kind)});
    }

    static std::vector<std::string> identifiersOf(const auto& records) {
        std::vector<std::string> identifiers;
        for (const auto& record : records) {
            identifiers.push_back(record.identifier);
        }
        return identifiers;
    }

    static inline std::unique_ptr<DemoService::DemoService> service;

    QTemporaryDir folder;
    std::unique_ptr<AppEnvironment> environment;
    std::unique_ptr<AppModels> models;
    MusicKit::ApplicationMusicPlayer* player = nullptr;
    MainViewModel* model = nullptr;
    DetailSongsViewModel* detail = nullptr;
    TopLevelSongsViewModel* songs = nullptr;
    PlaylistsViewModel* playlists = nullptr;
    AlbumsViewModel* albums = nullptr;
    ArtistsViewModel* artists = nullptr;
    MadeForYouViewModel* madeForYou = nullptr;
    StationsViewModel* stations = nullptr;
};

} // namespace Marrowbell::Testing
