// The Songs list at library scale, offscreen in the real window on a store file and the demo service of N
// songs, measured in a process of its own: opening Songs until its rows are painted, every sort order until
// the re-sorted rows are painted, the longest GUI-thread stall of each, a double-click on a song until the
// player reports playing, and that process's peak memory.
//
// marrowbell-bench-songs --songs N [--db PATH]: a store at PATH that already holds the library is used as it
// is; otherwise the library is first synced from the demo service into it.
#include "App/AppEnvironment.h"
#include "BenchmarkAppEnvironment.h"
#include "BenchmarkChildProcess.h"
#include "BenchmarkOptions.h"
#include "BenchmarkResources.h"
#include "BenchmarkServiceProcess.h"
#include "BenchmarkStallWatch.h"
#include "LibraryLists/SongLists.h"
#include "Lists/ListEnvironment.h"
#include "MainWindow/AppModels.h"
#include "MainWindow/MainContentView.h"
#include "MainWindow/PaneFactory.h"
#include "MainWindow/PodController.h"
#include "MainWindow/PodPagingView.h"
#include "PaintWatchingApplication.h"
#include "Platform/DefaultsKeys.h"

#include <Foundation/Date.h>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>

namespace {

using namespace Marrowbell;
using namespace Qt::StringLiterals;

constexpr int stepTimeoutMs = 120000;
constexpr int syncTimeoutMs = 30 * 60 * 1000;
constexpr int measuringTimeoutMs = 30 * 60 * 1000;

/// What the figures should stay within, for libraries of up to 100,000 songs and for larger ones.
struct Targets {
    qint64 openSongs;
    qint64 resort;
    qint64 stall;
    long peakMegabytes;
};

Targets targetsFor(std::size_t songs) {
    return songs <= 100000 ? Targets{150, 80, 16, 200} : Targets{600, 300, 33, 600};
}

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

/// When the central model held the newly read songs (to the heartbeat's 5 ms), when the pane had painted
/// them, and the longest time the GUI thread did not get to a 5 ms heartbeat until then.
struct Timing {
    qint64 loaded = -1;
    qint64 shown = -1;
    double longestStall = 0;
};

void report(const std::string& label, qint64 milliseconds, qint64 target) {
    if (milliseconds < 0) {
        std::printf("%-48s timed out\n", label.c_str());
        return;
    }
    std::printf("%-48s %7lld ms (target <= %lld ms)\n", label.c_str(), static_cast<long long>(milliseconds),
                static_cast<long long>(target));
}

void report(const std::string& label, const Timing& timing, qint64 target, qint64 stallTarget) {
    report(label, timing.shown, target);
    std::printf("%-48s %7lld ms\n", "  of which until the songs were read and sorted",
                static_cast<long long>(timing.loaded));
    std::printf("%-48s %7.1f ms (target <= %lld ms)\n", "  longest GUI-thread stall until painted",
                timing.longestStall, static_cast<long long>(stallTarget));
}

struct Window {
    Window(const QString& databasePath, const QString& settingsPath)
        : environment(AppEnvironment::Options{.databasePath = databasePath, .settingsPath = settingsPath})
        , models(environment)
        , content(models, environment.service().displayName(),
                  makeLibraryPaneFactory(models, ListEnvironment::of(environment))) {
        Benchmark::sendMailToService(environment);
        content.resize(900, 600);
    }
    ~Window() { environment.shutDown(); }

    SongList* songsPane() const {
        const auto& panes = content.pod().view()->panes();
        return panes.size() > 1 ? dynamic_cast<SongList*>(panes[1]) : nullptr;
    }

    /// The pane holds the central model's songs, in their order.
    bool holdsLoadedSongs() const {
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
    const Benchmark::StallWatch stalls;
    auto sync = window.models.main->performFullSync();
    if (!QTest::qWaitFor([&] { return sync.isFinished(); }, syncTimeoutMs)) {
        return false;
    }
    std::printf("%-48s %7.1f s\n", "library synced from the demo service",
                static_cast<double>(timer.elapsed()) / 1000);
    std::printf("%-48s %7.1f ms\n", "  longest GUI-thread stall during the sync",
                stalls.longestMilliseconds());
    return true;
}

/// Times `change` until the pane has painted the songs of the load it started. Each load installs a list of
/// its own, so a list other than the one shown before tells that it has arrived.
Timing timeUntilPainted(Window& window, const std::function<void()>& change) {
    const auto shownBefore = window.models.main->topLevelSongs.snapshot();
    Timing timing;
    QElapsedTimer timer;
    const auto noteLoaded = [&] {
        if (timing.loaded < 0 && window.models.main->topLevelSongs.snapshot() != shownBefore) {
            timing.loaded = timer.elapsed();
        }
    };
    QEventLoop loop;
    QTimer::singleShot(stepTimeoutMs, &loop, &QEventLoop::quit);
    timer.start();
    const Benchmark::StallWatch stalls(noteLoaded);
    Benchmark::PaintWatchingApplication::instance().setPaintHandled([&](QWidget* painted) {
        noteLoaded();
        SongList* list = window.songsPane();
        if (timing.shown < 0 && timing.loaded >= 0 && list && painted == list->viewport() &&
            window.holdsLoadedSongs()) {
            timing.shown = timer.elapsed();
            timing.longestStall = stalls.longestMilliseconds();
            loop.quit();
        }
    });
    change();
    if (timing.shown < 0) {
        loop.exec();
    }
    Benchmark::PaintWatchingApplication::instance().setPaintHandled({});
    return timing;
}

Timing timeOpeningSongs(Window& window) {
    // What a click on the root list's Songs row does.
    return timeUntilPainted(window, [&] { window.models.main->selectContainerKind(u"songs"_s); });
}

void timeSortOrders(Window& window, const Targets& targets) {
    TopLevelSongsViewModel& songs = *window.models.topLevelSongs;
    const auto label = [&songs] {
        return "re-sort: " + sortTitle(songs.sortOrder()).toStdString() + ", " +
               sortTitle(songs.sortDirection()).toStdString();
    };
    for (const MusicSortDirection direction : allMusicSortDirections) {
        if (direction != songs.sortDirection()) {
            const Timing elapsed = timeUntilPainted(window, [&] { songs.setSortDirection(direction); });
            report(label(), elapsed, targets.resort, targets.stall);
        }
        for (const SongSortOrder order : allSongSortOrders) {
            if (order != songs.sortOrder()) {
                const Timing elapsed = timeUntilPainted(window, [&] { songs.setSortOrder(order); });
                report(label(), elapsed, targets.resort, targets.stall);
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

// The first process: the service, the service file and the synced store, left for the measuring process.
int prepareLibrary(const QString& home, const QString& databasePath, std::size_t songs) {
    Window window(databasePath, home + u"/settings.conf"_s);
    if (!storeHoldsLibrary(window, songs) && !syncLibrary(window)) {
        std::fprintf(stderr, "the library was not synced\n");
        return 1;
    }
    // The library is current: opening Songs reads the store and asks the service nothing.
    auto& defaults = window.environment.defaults();
    defaults.setValue(DefaultsKeys::performedFullSync, true);
    defaults.setValue(DefaultsKeys::lastSongSync, Foundation::Date::now().timeIntervalSinceReferenceDate);
    return 0;
}

// The measuring process: the window on the synced store.
int measure(const QString& home, const QString& databasePath, std::size_t songs) {
    const Targets targets = targetsFor(songs);
    Window window(databasePath, home + u"/settings.conf"_s);
    window.content.show();
    if (!QTest::qWaitFor([&] { return !window.content.pod().view()->panes().empty(); }, 60000)) {
        std::fprintf(stderr, "the window showed no panes\n");
        return 1;
    }
    QTest::qWait(500);
    std::printf("%-48s %7zu\n", "songs in the store", songs);
    std::printf("%-48s %7.2f\n", "load average (1 min) before timing", oneMinuteLoadAverage());

    report("open Songs until its rows are painted", timeOpeningSongs(window), targets.openSongs,
           targets.stall);
    std::printf("%-48s %7ld MB (target <= %ld MB)\n", "peak memory (resident) with Songs shown",
                Benchmark::peakResidentMegabytes(), targets.peakMegabytes);
    timeSortOrders(window, targets);
    report("double-click until the player reports playing", timeDoubleClickToPlaying(window), 400);
    std::printf("%-48s %7ld MB\n", "peak memory (resident) at the end", Benchmark::peakResidentMegabytes());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const Benchmark::Options options =
        Benchmark::parseOptions(argc, argv, "marrowbell-bench-songs --songs N [--db PATH]", false);
    QTemporaryDir temporary;
    const QString home = options.home.empty() ? temporary.path() : QString::fromStdString(options.home);
    const QString databasePath =
        options.databasePath.empty() ? home + u"/local.db"_s : QString::fromStdString(options.databasePath);
    Benchmark::prepareAppEnvironment(home);
    Benchmark::PaintWatchingApplication application(argc, argv);
    if (!options.home.empty()) {
        return measure(home, databasePath, options.songs);
    }

    const auto service = Benchmark::ServiceProcess::servingStore(options.songs, databasePath);
    if (!service) {
        return 1;
    }
    if (const int failed = prepareLibrary(home, databasePath, options.songs)) {
        return failed;
    }
    return Benchmark::runThisProgramAgain(
        {u"--songs"_s, QString::number(options.songs), u"--db"_s, databasePath, u"--home"_s, home},
        measuringTimeoutMs);
}
