// Measures the store at library scale: marrowbell-bench-store --songs N [--db PATH]

#include "BenchmarkLibrary.h"
#include "BenchmarkOptions.h"
#include "BenchmarkResources.h"
#include "BenchmarkStoreFile.h"
#include "BenchmarkTiming.h"

#include <MarrowbellCore/Store/LocalDatabase.h>
#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

using Benchmark::Clock;
using Benchmark::measure;
using Benchmark::secondsSince;

/// The median of five runs, printed: a single run of a parallel read swings with the machine's other work.
template <class Work> void measureMedian(const char* label, Work&& work) {
    std::vector<double> seconds;
    for (int run = 0; run < 5; ++run) {
        const auto start = Clock::now();
        work();
        seconds.push_back(secondsSince(start));
    }
    std::sort(seconds.begin(), seconds.end());
    std::printf("%-44s %9.3f s\n", label, seconds[seconds.size() / 2]);
}

/// The songs of each album, artist and playlist, gathered before the clock starts so that only the store's
/// writes are timed.
struct Relations {
    std::vector<std::vector<std::int64_t>> albumSongs;
    std::vector<std::vector<std::int64_t>> artistSongs;
    std::vector<std::vector<MarrowbellCore::LocalSong>> playlistSongs;
    std::size_t rows = 0;
};

Relations gatherRelations(const Benchmark::GeneratedLibrary& library,
                          const std::vector<MarrowbellCore::LocalSong>& songs, std::size_t albumCount,
                          std::size_t artistCount) {
    Relations relations;
    relations.albumSongs.resize(albumCount);
    relations.artistSongs.resize(artistCount);
    for (std::size_t i = 0; i < songs.size(); ++i) {
        relations.albumSongs[library.albumOfSong[i]].push_back(songs[i].pk);
        relations.artistSongs[library.artistOfSong[i]].push_back(songs[i].pk);
    }
    for (const auto& tracks : library.playlistTracks) {
        auto& playlistSongs = relations.playlistSongs.emplace_back();
        for (const auto index : tracks) {
            playlistSongs.push_back(songs[index]);
        }
        relations.rows += tracks.size();
    }
    relations.rows += 2 * songs.size();
    return relations;
}

/// One write per owner, as the sync makes them.
void writeRelations(MarrowbellCore::LocalDatabase& store, const Relations& relations,
                    const std::vector<MarrowbellCore::LocalAlbum>& albums,
                    const std::vector<MarrowbellCore::LocalArtist>& artists,
                    const std::vector<MarrowbellCore::LocalPlaylist>& playlists) {
    for (std::size_t i = 0; i < albums.size(); ++i) {
        store.insert(relations.albumSongs[i], MarrowbellCore::AlbumPK{albums[i].pk});
    }
    for (std::size_t i = 0; i < artists.size(); ++i) {
        store.insert(relations.artistSongs[i], MarrowbellCore::ArtistPK{artists[i].pk});
    }
    for (std::size_t i = 0; i < playlists.size(); ++i) {
        store.insert(relations.playlistSongs[i], playlists[i]);
    }
}

void measureSearch(MarrowbellCore::LocalDatabase& store) {
    const std::vector<std::string> terms{"love",
                                         "night",
                                         "a",
                                         "e",
                                         "dream fire",
                                         "caf\u00e9",
                                         "\u6771\u4eac",
                                         "don't",
                                         "zzz",
                                         "xyz123",
                                         "Mot\u00f6rhead",
                                         "ocean city",
                                         "q",
                                         "rock 'n'",
                                         "summer blue road",
                                         "nothing matches this"};
    std::vector<double> times;
    for (int round = 0; round < 5; ++round) {
        for (const auto& term : terms) {
            const auto start = Clock::now();
            store.search(term);
            times.push_back(secondsSince(start) * 1000.0);
        }
    }
    std::sort(times.begin(), times.end());
    std::printf("%-44s %9.3f ms\n", "search(_:) p50", times[times.size() / 2]);
    std::printf("%-44s %9.3f ms\n", "search(_:) p95", times[times.size() * 95 / 100]);
}

/// What a list of all library songs costs in memory: held, at its peak while it is read, and to copy.
void measureSongMemory(MarrowbellCore::LocalDatabase& store,
                       const MarrowbellCore::SortDescriptor<MarrowbellCore::LocalSong>& sortDescriptor) {
    std::printf("%-44s %9zu bytes\n", "sizeof(LocalSong)", sizeof(MarrowbellCore::LocalSong));
    const long before = Benchmark::residentKilobytes();
    Benchmark::resetPeakResident();
    const auto songs = store.allLibrarySongs(sortDescriptor);
    const long peak = Benchmark::peakResidentKilobytesSinceReset();
    const double count = static_cast<double>(std::max<std::size_t>(1, songs.size()));
    const auto perSong = [&](long kilobytes) { return static_cast<double>(kilobytes) * 1024.0 / count; };
    std::printf("%-44s %9.0f bytes\n", "resident per song held",
                perSong(Benchmark::residentKilobytes() - before));
    std::printf("%-44s %9.0f bytes\n", "peak per song while reading", perSong(peak - before));
    const auto copy = measure("copy of the list", [&] { return songs; });
    std::printf("%-44s %9zu\n", "songs in the list", copy.size());
    // What bringing back the playing song's row asks of every song ahead of it: the last one is playing.
    const std::optional<std::string> playing =
        songs.empty() ? std::nullopt : std::optional(songs.back().identifier);
    measure("find the playing song among all", [&] {
        return std::count_if(songs.begin(), songs.end(), [&](const MarrowbellCore::LocalSong& song) {
            return song.matchesPlayingSong(playing);
        });
    });
}

} // namespace

int main(int argc, char** argv) {
    const auto options =
        Benchmark::parseOptions(argc, argv, "marrowbell-bench-store --songs N [--db PATH]", false);
    const Benchmark::StoreFile file(options.databasePath, "marrowbell-bench");
    const auto library = measure("generate library", [&] {
        return Benchmark::generateLibrary(options.songs, Benchmark::artworkNowhere);
    });
    std::printf("library: %zu songs, %zu albums, %zu artists, %zu playlists\n", library.songs.size(),
                library.albums.size(), library.artists.size(), library.playlists.size());

    MarrowbellCore::LocalDatabase store(file.path());
    store.open();
    const auto songs = measure("upsert all songs", [&] { return store.insert(library.songs); });
    measure("upsert all songs again (next sync)", [&] { store.insert(library.songs); });
    const auto albums = measure("upsert albums", [&] { return store.insert(library.albums); });
    const auto artists = measure("upsert artists", [&] { return store.insert(library.artists); });
    const auto playlists = measure("upsert playlists", [&] { return store.insert(library.playlists); });
    const auto relations = gatherRelations(library, songs, albums.size(), artists.size());
    const auto start = Clock::now();
    writeRelations(store, relations, albums, artists, playlists);
    const double relationSeconds = secondsSince(start);
    const auto batches = albums.size() + artists.size() + playlists.size();
    std::printf(
        "%-44s %9.3f s\n",
        ("relation rows (" + std::to_string(relations.rows) + " in " + std::to_string(batches) + " writes)")
            .c_str(),
        relationSeconds);
    std::printf("%-44s %9.3f s\n", "relation rows, per 100,000",
                relationSeconds * 100000.0 / static_cast<double>(std::max<std::size_t>(1, relations.rows)));

    const auto byTitle = MarrowbellCore::SortDescriptor<MarrowbellCore::LocalSong>::keyPath(
        &MarrowbellCore::LocalSong::title,
        [](const std::string& lhs, const std::string& rhs) { return std::weak_order(lhs.compare(rhs), 0); });
    measureSongMemory(store, byTitle);
    measure("allSongs read, unsorted", [&] { return store.allSongs().size(); });
    measure("allLibrarySongs sorted by title (cold)", [&] { return store.allLibrarySongs(byTitle).size(); });
    measureMedian("allLibrarySongs sorted by title (warm)",
                  [&] { return store.allLibrarySongs(byTitle).size(); });
    measure("search(_:) right after a write", [&] {
        store.insert(std::vector{library.playlists.front()});
        return store.search("love").size();
    });
    measureSearch(store);
    store.close();

    // Opening an existing file checks every page for damage.
    MarrowbellCore::LocalDatabase reopened(file.path());
    measure("open an existing file", [&] { reopened.open(); });
    reopened.close();
    return 0;
}
