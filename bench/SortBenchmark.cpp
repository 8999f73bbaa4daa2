// Times re-sorting lists already in memory, by every order and direction, comparing records with each other
// and by keys made once per record, and checks that both give the same order: marrowbell-bench-sort --songs N

#include "BenchmarkLibrary.h"
#include "BenchmarkOptions.h"
#include "BenchmarkStoreFile.h"
#include "BenchmarkTiming.h"
#include "Library/LibrarySortDescriptors.h"

#include <MarrowbellCore/Store/LocalDatabase.h>
#include <MarrowbellCore/Store/SortedRecords.h>
#include <Store/RecordOrder.h>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using namespace Marrowbell;
using Benchmark::Clock;
using Benchmark::secondsSince;

/// The fastest of five runs: a single run of a parallel sort swings with the machine's other work.
template <class Work> double fastestOfFive(Work&& work) {
    double fastest = 0;
    for (int run = 0; run < 5; ++run) {
        const auto start = Clock::now();
        work();
        const double seconds = secondsSince(start);
        fastest = run == 0 ? seconds : std::min(fastest, seconds);
    }
    return fastest;
}

/// Sorts `records` by `descriptor` once by comparisons and once by keys, prints both times and whether the
/// two lists are the same.
template <class Record>
bool compareSorts(const QString& label, const std::vector<Record>& records,
                  const MarrowbellCore::SortDescriptor<Record>& descriptor) {
    auto byComparison = MarrowbellCore::SortDescriptor<Record>(descriptor).withSortKeys({});
    std::vector<const Record*> compared, keyed;
    const auto sortPointers = [&](std::vector<const Record*>& order, const auto& sortDescriptor) {
        order.clear();
        for (const Record& record : records) {
            order.push_back(&record);
        }
        MarrowbellCore::sortRecordPointers(order, sortDescriptor);
    };
    const double comparisonSeconds = fastestOfFive([&] { sortPointers(compared, byComparison); });
    const double keySeconds = fastestOfFive([&] { sortPointers(keyed, descriptor); });
    const bool same = compared == keyed;
    std::printf("%-40s comparisons %7.3f s   keys %7.3f s%s\n", qPrintable(label), comparisonSeconds,
                keySeconds, same ? "" : "   ORDER DIFFERS");
    return same;
}

template <class Record, class Orders, class Describe>
bool compareEveryOrder(const char* kind, const std::vector<Record>& records, const Orders& orders,
                       Describe describe) {
    bool same = true;
    for (const auto order : orders) {
        for (const auto direction : allMusicSortDirections) {
            const auto label = QStringLiteral("%1 %2 by %3, %4")
                                   .arg(records.size())
                                   .arg(QString::fromLatin1(kind), sortTitle(order), sortTitle(direction));
            same = compareSorts(label, records, describe(order, direction)) && same;
        }
    }
    return same;
}

} // namespace

int main(int argc, char** argv) {
    const auto options =
        Benchmark::parseOptions(argc, argv, "marrowbell-bench-sort [--songs N] [--db PATH]", false);
    const Benchmark::StoreFile file(options.databasePath, "marrowbell-bench-sort");
    MarrowbellCore::LocalDatabase store(file.path());
    store.open();
    Benchmark::measure("generate and store the library", [&] {
        auto library = Benchmark::generateLibrary(options.songs, Benchmark::artworkNowhere);
        store.insert(library.songs);
        store.insert(library.albums);
        store.insert(library.artists);
    });
    // The lists as shown before the re-sort.
    const auto songs =
        store.allLibrarySongs(songSortDescriptor(SongSortOrder::title, MusicSortDirection::ascending));
    const auto albums =
        store.allAlbums(albumSortDescriptor(AlbumSortOrder::title, MusicSortDirection::ascending));
    const auto artists =
        store.allArtists(artistSortDescriptor(ArtistsSortOrder::name, MusicSortDirection::ascending));

    bool same = compareEveryOrder("songs", songs, allSongSortOrders, [](auto order, auto direction) {
        return songSortDescriptor(order, direction);
    });
    same =
        compareEveryOrder("albums", albums, allAlbumSortOrders,
                          [](auto order, auto direction) { return albumSortDescriptor(order, direction); }) &&
        same;
    same = compareEveryOrder(
               "artists", artists, allArtistsSortOrders,
               [](auto order, auto direction) { return artistSortDescriptor(order, direction); }) &&
           same;
    // What a sort change hands on while the store is unchanged: the songs shown, in a new order.
    const auto byArtist = songSortDescriptor(SongSortOrder::artist, MusicSortDirection::ascending);
    const MarrowbellCore::SortedRecords shown(songs);
    std::printf("%zu songs by Artist, re-sorted in memory: %.3f s\n", songs.size(),
                fastestOfFive([&] { MarrowbellCore::resorted(shown, byArtist); }));
    return same ? 0 : 1;
}
