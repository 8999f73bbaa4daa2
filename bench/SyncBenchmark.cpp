// Measures a full sync at library scale, its time and the process's peak memory:
// marrowbell-bench-sync --songs N [--db PATH] [--service-url URL]
// With --service-url the service runs in its own process, so that its memory is not counted.

#include "BenchmarkOptions.h"
#include "BenchmarkResources.h"
#include "BenchmarkStoreFile.h"
#include "BenchmarkTiming.h"
#include "Remote/RemoteSong.h"
#include "SyncEngine/LibraryFetch.h"
#include "SyncEngine/RelationRebuild.h"
#include "SyncEngine/SongListing.h"
#include "SyncEngine/SongOrder.h"

#include <DemoService/DemoService.h>
#include <MarrowbellCore/Store/LocalDatabase.h>
#include <MarrowbellCore/Sync/SyncEngine.h>
#include <MusicKit/MusicDataRequest.h>
#include <cstdio>
#include <string>

namespace {

using Benchmark::measure;

/// The raw bodies of every song page, to time decoding apart from the network.
std::vector<std::string> songPageBodies(const MusicKit::ServiceConfiguration& configuration) {
    std::vector<std::string> bodies;
    for (std::size_t offset = 0;; offset += 100) {
        const auto url = Foundation::URL::fromString(
            configuration.apiBase + "/v1/me/library/songs?limit=100&offset=" + std::to_string(offset) +
            "&sort=-dateAdded&include=artists,albums");
        bodies.push_back(MusicKit::MusicDataRequest(MusicKit::URLRequest(*url)).response().data);
        if (!MarrowbellCore::RemoteSongResponse::decode(bodies.back()).next) {
            return bodies;
        }
    }
}

void measureSongStep(const std::shared_ptr<MarrowbellCore::LocalDatabase>& store,
                     const MusicKit::ServiceConfiguration& configuration) {
    using namespace MarrowbellCore;
    const auto progress = Foundation::Progress::make(100);
    measure("  songs: fetch + decode", [&] {
        std::size_t count = 0;
        LibraryFetch::forEachSongPage(*progress, {},
                                      [&](RemoteSongResponse& page) { count += page.data.size(); });
        return count;
    });
    {
        const auto bodies = songPageBodies(configuration);
        measure("  songs: decode only", [&] {
            std::size_t count = 0;
            for (const auto& body : bodies) {
                count += RemoteSongResponse::decode(body).data.size();
            }
            return count;
        });
    }
    auto listing = measure("  songs: fetch + decode + convert",
                           [&] { return SongListing::fetch(SongOrder::syncTimeNow(), *progress, {}); });
    measure("  songs: store writes (sync)", [&] { store->sync(listing.songs); });
    const auto stored = measure("  songs: read back", [&] { return store->allSongTrackMetadata(); });
    measure("  songs: relation rebuild", [&] {
        RelationRebuild::rebuildAlbumSongs(*store, listing.memberships, stored);
        RelationRebuild::rebuildArtistSongs(*store, listing.memberships, stored);
    });
}

/// One full sync, timed, then its processor time and the peak memory so far.
void measureFullSync(const std::shared_ptr<MarrowbellCore::LocalDatabase>& store, const char* label,
                     const char* peakLabel) {
    const double processorStart = Benchmark::processorSeconds();
    measure(label, [&] {
        const auto progress = Foundation::Progress::make(100);
        MarrowbellCore::SyncEngine(store).syncAll(*progress);
    });
    std::printf("  processor time (user + system): %.3f s\n", Benchmark::processorSeconds() - processorStart);
    std::printf("peak memory after %s: %ld MB\n", peakLabel, Benchmark::peakResidentMegabytes());
}

} // namespace

int main(int argc, char** argv) {
    const auto options = Benchmark::parseOptions(
        argc, argv, "marrowbell-bench-sync --songs N [--db PATH] [--service-url URL]", true);
    std::unique_ptr<DemoService::DemoService> service;
    MusicKit::ServiceConfiguration configuration;
    if (options.serviceURL.empty()) {
        service = measure("start demo service", [&] {
            auto started =
                std::make_unique<DemoService::DemoService>(DemoService::DemoService::Options{options.songs});
            started->start();
            return started;
        });
        configuration = service->configuration();
    } else {
        configuration = {.apiBase = options.serviceURL,
                         .developerToken = std::string(DemoService::DemoService::developerToken),
                         .userToken = std::string(DemoService::DemoService::userToken),
                         .storefront = "us"};
    }
    MusicKit::ServiceConfiguration::setCurrent(configuration);

    const Benchmark::StoreFile file(options.databasePath, "marrowbell-bench-sync");
    auto store = std::make_shared<MarrowbellCore::LocalDatabase>(file.path());
    store->open();

    measureFullSync(store, "full sync into a new file", "full sync");
    measureFullSync(store, "second full sync (daily)", "second sync");
    std::printf("song step, one part at a time:\n");
    measureSongStep(store, configuration);
    store->close();
    return 0;
}
