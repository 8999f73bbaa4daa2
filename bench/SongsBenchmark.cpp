// The Songs list at library scale, offscreen in the real window on a store file and the in-process demo
// service of N songs: opening Songs until its rows are shown, every sort order until the re-sorted rows are
// shown, and a double-click on a song until the player reports playing.
//
// marrowbell-bench-songs --songs N [--db PATH]: a store at PATH that already holds the library is used as it
// is; otherwise the library is first synced from the demo service into it.
#include "App/AppEnvironment.h"
#include "BenchmarkAppEnvironment.h"
#include "BenchmarkOptions.h"
#include "BenchmarkResources.h"
#include "LibraryLists/SongLists.h"
#include "Lists/ListEnvironment.h"
#include "MainWindow/AppModels.h"
#include "MainWindow/MainContentView.h"
#include "MainWindow/PaneFactory.h"
#include "MainWindow/PodController.h"
#include "MainWindow/PodPagingView.h"
#include "Platform/DefaultsKeys.h"

#include <Foundation/Date.h>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

using namespace Marrowbell;

constexpr qint64 stepTimeoutMs = 120000;

// The machine is shared: the figures mean little without the load they were taken under.
double oneMinuteLoadAverage() {
    double load[1] = {0};
    return getloadavg(load, 1) == 1 ? load[0] : -1;
}

/// Runs the event loop until `done` holds; the milliseconds it took, or -1 after the time-out.
qint64 millisecondsUntil(const std::function<bool()>& done, const QElapsedTimer& since) {
    while (!done()) {
        if (since.elapsed() > stepTimeoutMs) {
            return -1;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::usleep(100);
    }
    return since.elapsed();
}

/// When the central model held the newly read songs, when the pane showed them, and the longest time the GUI
/// thread did not get to a 5 ms heartbeat meanwhile.
struct Timing {
    qint64 loaded = -1;
    qint64 shown = -1;
    qint64 longestStall = 0;
};

void report(const std::string& label, qint64 milliseconds, qint64 target) {
    if (milliseconds < 0) {
        std::printf("%-48s timed out\n", label.c_str());
        return;
    }
    std::printf("%-48s %7lld ms (target <= %lld ms)\n", label.c_str(), static_cast<long long>(milliseconds),
                static_cast<long long>(target));
}

void report(const std::string& label, const Timing& timing, qint64 target) {
    report(label, timing.shown, target);
    std::printf("%-48s %7lld ms\n", "  of which until the songs were read and sorted",
                static_cast<long long>(timing.loaded));
    std::printf("%-48s %7lld ms\n", "  longest GUI-thread stall",
                static_cast<long long>(timing.longestStall));
}

struct Window {
    Window(const QString& databasePath, const QString& settingsPath, std::size_t songs)
        : environment(AppEnvironment::Options{
              .databasePath = databasePath, .settingsPath = settingsPath, .demoSongCount = songs})
        , models(environment)
        , content(models, environment.service().displayName(),
                  makeLibraryPaneFactory(models, ListEnvironment::of(environment))) {
        content.resize(900, 600);
    }
    ~Window() { environment.shutDown(); }

    SongList* songsPane() const {
        const auto& panes = content.pod().view()->panes();
        return panes.size() > 1 ? dynamic_cast<SongList*>(panes[1]) : nullptr;
    }

    /// The pane shows the central model's songs, in their order, and has painted them.
    bool showsLoadedSongs() const {
        SongList* list = songsPane();
        const auto& songs = models.main->topLevelSongs.get();
        if (!list || !list->isVisible() || songs.empty() || list->items().size() != songs.size() + 2) {
            return false;
        }
        const std::size_t step = std::max<std::size_t>(1, songs.size() / 64);
        for (std::size_t index = 0; index < songs.size(); index += step) {
            const MarrowbellCore::LocalSong* shown = list->items()[index + 2].song();
            if (!shown || shown->identifier != songs[index].identifier) {
                return false;
            }
        }
        list->viewport()->repaint();
        return true;
    }

    AppEnvironment environment;
    AppModels models;
    MainContentView content;
};

bool storeHoldsLibrary(Window& window, std::size_t songs) {
    auto count = window.environment.store().run(
        [](MarrowbellCore::LocalDatabase& database) { return database.allSongs().size(); });
    return QTest::qWaitFor([&] { return count.isFinished(); }, 60000) && count.result() >= songs;
}

bool syncLibrary(Window& window) {
    QElapsedTimer timer;
    timer.start();
    auto sync = window.models.main->performFullSync();
    if (!QTest::qWaitFor([&] { return sync.isFinished(); }, 30 * 60 * 1000)) {
        return false;
    }
    std::printf("%-48s %7.1f s\n", "library synced from the demo service",
                static_cast<double>(timer.elapsed()) / 1000);
    return true;
}

/// Times `change` until the pane shows the songs of the load it started. Each load installs a list of its
/// own, so the songs' storage tells that it has arrived.
Timing timeUntilShown(Window& window, const std::function<void()>& change) {
    const auto* shownBefore = window.models.main->topLevelSongs.get().data();
    Timing timing;
    QElapsedTimer sinceBeat;
    QTimer heartbeat;
    heartbeat.setInterval(5);
    QObject::connect(&heartbeat, &QTimer::timeout,
                     [&] { timing.longestStall = std::max(timing.longestStall, sinceBeat.restart()); });
    QElapsedTimer timer;
    timer.start();
    sinceBeat.start();
    heartbeat.start();
    change();
    timing.loaded = millisecondsUntil(
        [&] { return window.models.main->topLevelSongs.get().data() != shownBefore; }, timer);
    timing.shown = millisecondsUntil([&] { return window.showsLoadedSongs(); }, timer);
    timing.longestStall = std::max(timing.longestStall, sinceBeat.elapsed());
    return timing;
}

Timing timeOpeningSongs(Window& window) {
    // What a click on the root list's Songs row does.
    return timeUntilShown(window, [&] { window.models.main->selectContainerKind(QStringLiteral("songs")); });
}

void timeSortOrders(Window& window) {
    TopLevelSongsViewModel& songs = *window.models.topLevelSongs;
    const auto label = [&songs] {
        return "re-sort: " + sortTitle(songs.sortOrder()).toStdString() + ", " +
               sortTitle(songs.sortDirection()).toStdString();
    };
    for (const MusicSortDirection direction : allMusicSortDirections) {
        if (direction != songs.sortDirection()) {
            const Timing elapsed = timeUntilShown(window, [&] { songs.setSortDirection(direction); });
            report(label(), elapsed, 300);
        }
        for (const SongSortOrder order : allSongSortOrders) {
            if (order != songs.sortOrder()) {
                const Timing elapsed = timeUntilShown(window, [&] { songs.setSortOrder(order); });
                report(label(), elapsed, 300);
            }
        }
    }
}

qint64 timeDoubleClickToPlaying(Window& window) {
    SongList* list = window.songsPane();
    if (!list) {
        return -1;
    }
    const int row = 2 + static_cast<int>(window.models.main->topLevelSongs.get().size() / 2);
    list->scrollTo(list->model()->index(row, 0), QAbstractItemView::PositionAtCenter);
    QCoreApplication::processEvents();
    const QPoint center = list->visualRect(list->model()->index(row, 0)).center();
    QElapsedTimer timer;
    timer.start();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, center);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, center);
    return millisecondsUntil(
        [&] {
            return window.models.player->state().playbackStatus() ==
                   MusicKit::MusicPlayerPlaybackStatus::playing;
        },
        timer);
}

} // namespace

int main(int argc, char** argv) {
    const Benchmark::Options options =
        Benchmark::parseOptions(argc, argv, "marrowbell-bench-songs --songs N [--db PATH]", false);
    QTemporaryDir home;
    Benchmark::prepareAppEnvironment(home.path());
    QApplication application(argc, argv);
    const QString databasePath = options.databasePath.empty() ? home.filePath(QStringLiteral("local.db"))
                                                              : QString::fromStdString(options.databasePath);

    Window window(databasePath, home.filePath(QStringLiteral("settings.conf")), options.songs);
    if (!storeHoldsLibrary(window, options.songs) && !syncLibrary(window)) {
        std::fprintf(stderr, "the library was not synced\n");
        return 1;
    }
    // The library is current: opening Songs reads the store and asks the service nothing.
    auto& defaults = window.environment.defaults();
    defaults.setValue(DefaultsKeys::performedFullSync, true);
    defaults.setValue(DefaultsKeys::lastSongSync, Foundation::Date::now().timeIntervalSinceReferenceDate);
    window.content.show();
    if (!QTest::qWaitFor([&] { return !window.content.pod().view()->panes().empty(); }, 60000)) {
        std::fprintf(stderr, "the window showed no panes\n");
        return 1;
    }
    QTest::qWait(500);
    std::printf("%-48s %7zu\n", "songs in the store", options.songs);
    std::printf("%-48s %7.2f\n", "load average (1 min) before timing", oneMinuteLoadAverage());

    std::printf("%-48s %7ld MB\n", "resident before opening Songs", Benchmark::residentMegabytes());
    report("open Songs until its rows are shown", timeOpeningSongs(window), 400);
    std::printf("%-48s %7ld MB\n", "peak memory with Songs shown (resident)",
                Benchmark::peakResidentMegabytes());
    timeSortOrders(window);
    report("double-click until the player reports playing", timeDoubleClickToPlaying(window), 400);
    std::printf("%-48s %7ld MB\n", "peak memory (resident)", Benchmark::peakResidentMegabytes());
    return 0;
}
