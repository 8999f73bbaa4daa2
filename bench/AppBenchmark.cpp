// The application offscreen on a store file and the demo service of N songs, run in a process of its own:
// the longest stall of the GUI thread while the first full sync runs, the time from the process's start to
// the first rows read from the store painted (the list of the kind shown at the start) with the library
// already synced, and the peak memory of that process once the Songs list is loaded.
//
// marrowbell-bench-app --songs N [--db PATH]: a store file at PATH is used as it is; without one (or without
// --db, in a temporary folder) the first launch syncs the library into it first.
#include "App/AppEnvironment.h"
#include "BenchmarkAppEnvironment.h"
#include "BenchmarkChildProcess.h"
#include "BenchmarkOptions.h"
#include "BenchmarkResources.h"
#include "BenchmarkServiceProcess.h"
#include "Lists/ListEnvironment.h"
#include "MainWindow/AppModels.h"
#include "MainWindow/MainContentView.h"
#include "MainWindow/PaneFactory.h"
#include "MainWindow/PodController.h"
#include "MainWindow/PodPagingView.h"
#include "PaintWatchingApplication.h"
#include "Platform/DefaultsKeys.h"

#include <QAbstractItemView>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>

namespace {

using namespace Marrowbell;
using namespace Qt::StringLiterals;
using SteadyClock = std::chrono::steady_clock;

constexpr int launchTimeoutMs = 10 * 60 * 1000;
constexpr int firstRowsTimeoutMs = 60000;

// steady_clock is CLOCK_MONOTONIC, one clock for every process of the machine: a reading taken by the
// process that starts the launch means the same in the launched one.
long long steadyNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(SteadyClock::now().time_since_epoch())
        .count();
}

double millisecondsSince(long long steadyNanosecondsThen) {
    return static_cast<double>(steadyNanoseconds() - steadyNanosecondsThen) / 1e6;
}

struct RunningApp {
    RunningApp(const QString& folder, const QString& databasePath)
        : environment(AppEnvironment::Options{.databasePath = databasePath,
                                              .settingsPath = folder + QStringLiteral("/settings.conf")})
        , models(environment)
        , content(models, environment.service().displayName(),
                  makeLibraryPaneFactory(models, ListEnvironment::of(environment))) {
        Benchmark::sendMailToService(environment);
        content.resize(900, 600);
    }
    ~RunningApp() { environment.shutDown(); }

    /// The list of the kind shown at the start, beside the root list of kinds (whose rows need no store).
    QAbstractItemView* libraryPane() const {
        const auto& panes = content.pod().view()->panes();
        return panes.size() < 2 ? nullptr : qobject_cast<QAbstractItemView*>(panes[1]);
    }

    AppEnvironment environment;
    AppModels models;
    MainContentView content;
};

bool waitForStart(MainContentView& content, int timeoutMs) {
    bool finished = false;
    QObject::connect(&content, &MainContentView::startUpFinished, [&finished] { finished = true; });
    content.show();
    return QTest::qWaitFor([&] { return finished; }, timeoutMs);
}

// The first launch: a full sync of the service's library into the store, watching the GUI thread for
// stalls.
int syncFirst(const QString& folder, const QString& databasePath, std::size_t songs) {
    constexpr int syncTimeoutMs = 30 * 60 * 1000;
    RunningApp app(folder, databasePath);
    QElapsedTimer sinceTick;
    qint64 longestStall = 0;
    QTimer heartbeat;
    heartbeat.setTimerType(Qt::PreciseTimer);
    heartbeat.setInterval(5);
    QObject::connect(&heartbeat, &QTimer::timeout,
                     [&] { longestStall = std::max(longestStall, sinceTick.restart()); });
    QElapsedTimer sync;
    sync.start();
    sinceTick.start();
    heartbeat.start();
    if (!waitForStart(app.content, syncTimeoutMs)) {
        std::fprintf(stderr, "the first full sync did not finish\n");
        return 1;
    }
    heartbeat.stop();
    std::printf("full sync of %zu songs: %.2f s, longest GUI-thread stall %lld ms (heartbeat 5 ms)\n", songs,
                static_cast<double>(sync.elapsed()) / 1000.0, static_cast<long long>(longestStall));
    return 0;
}

/// Milliseconds from the launch to the end of the first paint of the library pane's viewport that drew rows,
/// or nothing after the time-out.
std::optional<double> waitForFirstRowsPainted(RunningApp& app, long long launchedAt) {
    std::optional<double> painted;
    QEventLoop loop;
    Benchmark::PaintWatchingApplication::instance().setPaintHandled([&](QWidget* widget) {
        QAbstractItemView* list = app.libraryPane();
        if (!painted && list && widget == list->viewport() && list->model() &&
            list->model()->rowCount() > 0) {
            painted = millisecondsSince(launchedAt);
            loop.quit();
        }
    });
    QTimer::singleShot(firstRowsTimeoutMs, &loop, &QEventLoop::quit);
    app.content.show();
    loop.exec();
    Benchmark::PaintWatchingApplication::instance().setPaintHandled({});
    return painted;
}

// A later launch on the synced store file, in a process of its own started at `launchedAt`: the first rows,
// then the whole Songs list.
int startAndBrowse(const QString& folder, const QString& databasePath, std::size_t songs,
                   long long launchedAt, double inMain) {
    const double applicationMade = millisecondsSince(launchedAt);
    RunningApp app(folder, databasePath);
    const double constructed = millisecondsSince(launchedAt);
    const long residentAfterStart = Benchmark::residentMegabytes();
    app.environment.defaults().setValue(DefaultsKeys::performedFullSync, true);
    const std::optional<double> firstRows = waitForFirstRowsPainted(app, launchedAt);
    if (!firstRows) {
        std::fprintf(stderr, "the library pane painted no rows\n");
        return 1;
    }
    std::printf(
        "process start to the library's first rows painted (library synced): %.1f ms; main() entered at "
        "%.1f ms, the QApplication made at %.1f ms, the store, the service and the window at %.1f ms\n",
        *firstRows, inMain, applicationMade, constructed);

    // The Songs pane loads the list itself, as when the user picks Songs.
    app.models.main->selectContainerKind(u"songs"_s);
    if (!QTest::qWaitFor([&] { return app.models.main->topLevelSongs.get().size() >= songs; }, 120000)) {
        std::fprintf(stderr, "the songs list did not load\n");
        return 1;
    }
    QTest::qWait(200);
    std::printf("songs listed: %zu; peak memory of the app's process %ld MB (%ld MB resident once started)\n",
                app.models.main->topLevelSongs.get().size(), Benchmark::peakResidentMegabytes(),
                residentAfterStart);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const long long mainEntered = steadyNanoseconds();
    const Benchmark::Options options =
        Benchmark::parseOptions(argc, argv, "marrowbell-bench-app --songs N [--db PATH]", false);
    QTemporaryDir temporary;
    const QString databasePath =
        options.databasePath.empty()
            ? temporary.filePath(u"store/local.db"_s)
            : QFileInfo(QString::fromStdString(options.databasePath)).absoluteFilePath();
    const QString folder = QFileInfo(databasePath).absolutePath();
    QDir().mkpath(folder);
    // The settings, caches and service file live beside the store, so that the measured launch finds what
    // the first launch left.
    Benchmark::prepareAppEnvironment(folder + u"/home"_s);
    Benchmark::PaintWatchingApplication application(argc, argv);
    if (options.launchedAt != 0) {
        return startAndBrowse(folder, databasePath, options.songs, options.launchedAt,
                              static_cast<double>(mainEntered - options.launchedAt) / 1e6);
    }

    const auto service = Benchmark::ServiceProcess::servingStore(options.songs, databasePath);
    if (!service) {
        return 1;
    }
    if (!QFileInfo::exists(databasePath)) {
        if (const int failed = syncFirst(folder, databasePath, options.songs)) {
            return failed;
        }
    }
    const QStringList arguments{u"--songs"_s, QString::number(options.songs), u"--db"_s, databasePath,
                                u"--launched-at"_s};
    return Benchmark::runThisProgramAgain(arguments + QStringList{QString::number(steadyNanoseconds())},
                                          launchTimeoutMs);
}
