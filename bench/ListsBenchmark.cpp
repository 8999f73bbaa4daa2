// Shows a list of N songs offscreen and scrolls through all of it, painting every page; then times the
// artwork cache against the demo service in a process of its own.
#include "App/DisplaySettings.h"
#include "Artwork/ArtworkImageCache.h"
#include "Artwork/NowPlayingAnimationClock.h"
#include "ArtworkCacheBenchmark.h"
#include "BenchmarkLibrary.h"
#include "BenchmarkOptions.h"
#include "BenchmarkServiceProcess.h"
#include "BenchmarkStoreFile.h"
#include "BenchmarkTiming.h"
#include "Library/SongSelection.h"
#include "Lists/CollectionListController.h"
#include "Platform/AppNotifications.h"
#include "Platform/Defaults.h"

#include <MarrowbellCore/Store/LocalDatabase.h>
#include <QApplication>
#include <QScrollBar>
#include <QTemporaryDir>
#include <algorithm>
#include <sys/resource.h>
#include <vector>

namespace {

using namespace Marrowbell;
using Benchmark::Clock;
using Benchmark::measure;
using Benchmark::secondsSince;
using SongList = CollectionListController<SongSelection>;

// Without a store file of the user's, the songs come from a generated library written to a temporary one.
std::vector<MarrowbellCore::LocalSong> readSongs(const Benchmark::Options& options) {
    std::optional<Benchmark::StoreFile> generated;
    std::string path = options.databasePath;
    if (path.empty()) {
        generated.emplace(std::string(), "marrowbell-bench-lists");
        path = generated->path();
        MarrowbellCore::LocalDatabase store(path);
        store.open();
        measure("generate and store the library", [&] {
            store.insert(Benchmark::generateLibrary(options.songs, Benchmark::artworkNowhere).songs);
        });
    }
    MarrowbellCore::LocalDatabase store(path);
    store.open();
    const auto byTitle = MarrowbellCore::SortDescriptor<MarrowbellCore::LocalSong>::keyPath(
        &MarrowbellCore::LocalSong::title,
        [](const std::string& lhs, const std::string& rhs) { return std::weak_order(lhs.compare(rhs), 0); });
    auto songs = measure("read the songs from the store", [&] { return store.allLibrarySongs(byTitle); });
    if (songs.size() > options.songs) {
        songs.resize(options.songs);
    }
    return songs;
}

// The song lists' rows: title, artist, artwork keyed by the song; the placeholder stands in for the artwork,
// whose loading is measured on its own.
void configureSongCell(TableCell& cell, const SongSelection& row, const Defaults& defaults) {
    cell.title = row.title();
    if (const MarrowbellCore::LocalSong* song = row.song()) {
        cell.subtitle = QString::fromStdString(song->artistName.value_or(std::string()));
        cell.setArtwork(std::nullopt, QStringLiteral("song-") + QString::fromStdString(song->identifier));
    }
    cell.refreshAppearance(defaults);
}

double percentile(std::vector<double> values, double fraction) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

} // namespace

int main(int argc, char** argv) {
    const auto options =
        Benchmark::parseOptions(argc, argv, "marrowbell-bench-lists --songs N [--db PATH]", false);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir folder;

    std::vector<SongSelection> rows = songSelectionRows(readSongs(options));
    const std::size_t rowCount = rows.size();
    std::printf("list: %zu rows\n", rowCount);

    Defaults defaults(folder.filePath(QStringLiteral("settings.conf")));
    DisplaySettings::registerDefaults(defaults);
    AppNotifications notifications;
    ArtworkImageCache artwork(folder.filePath(QStringLiteral("artwork")));
    NowPlayingAnimationClock clock;
    std::optional<QString> selection;

    auto start = Clock::now();
    SongList list(
        {defaults, notifications, artwork, clock}, std::move(rows),
        {[&] { return selection; }, [&](const std::optional<QString>& id) { selection = id; }}, 2,
        QStringLiteral("BenchmarkSongs"),
        [&defaults](TableCell& cell, const SongSelection& row, CellConfiguration) {
            configureSongCell(cell, row, defaults);
        },
        [](const SongSelection&) {});
    list.resize(900, 700);
    list.show();
    QCoreApplication::processEvents();
    list.viewport()->repaint();
    std::printf("%-44s %9.3f ms\n", "rows shown (list made, laid out, painted)", secondsSince(start) * 1000);

    QScrollBar& scrollBar = *list.verticalScrollBar();
    std::vector<double> frames;
    start = Clock::now();
    while (scrollBar.value() < scrollBar.maximum()) {
        const auto frameStart = Clock::now();
        scrollBar.setValue(scrollBar.value() + scrollBar.pageStep());
        list.viewport()->repaint();
        frames.push_back(secondsSince(frameStart) * 1000);
    }
    const double scrollSeconds = secondsSince(start);
    std::printf("%-44s %9zu\n", "pages scrolled and painted", frames.size());
    std::printf("%-44s %9.3f s\n", "whole list scrolled", scrollSeconds);
    std::printf("%-44s %9.3f ms\n", "scroll frame p50", percentile(frames, 0.50));
    std::printf("%-44s %9.3f ms\n", "scroll frame p95", percentile(frames, 0.95));
    std::printf("%-44s %9.3f ms\n", "scroll frame max",
                frames.empty() ? 0.0 : *std::max_element(frames.begin(), frames.end()));

    try {
        const Benchmark::ServiceProcess service(10);
        Benchmark::printArtworkCacheFigures(Benchmark::measureArtworkCache(
            1000, folder.filePath(QStringLiteral("artwork-benchmark")), service.configuration().apiBase));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%-44s %9.1f MiB\n", "peak memory (resident)", static_cast<double>(usage.ru_maxrss) / 1024.0);
    return 0;
}
