// The application offscreen on a store file and the in-process demo service of N songs: the longest stall of
// the GUI thread while the first full sync runs, the time from start to the main window's first rows with
// the library already synced, and the peak memory once the Songs list is loaded.
#include "App/AppEnvironment.h"
#include "BenchmarkOptions.h"
#include "BenchmarkResources.h"
#include "Lists/CollectionListControllerBase.h"
#include "Lists/ListEnvironment.h"
#include "MainWindow/AppModels.h"
#include "MainWindow/MainContentView.h"
#include "MainWindow/PaneFactory.h"
#include "MainWindow/PodController.h"
#include "MainWindow/PodPagingView.h"
#include "Platform/DefaultsKeys.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

using namespace Marrowbell;

struct RunningApp {
    RunningApp(const QString& folder, std::size_t songs)
        : environment(AppEnvironment::Options{.databasePath = folder + QStringLiteral("/local.db"),
                                              .settingsPath = folder + QStringLiteral("/settings.conf"),
                                              .demoSongCount = songs})
        , models(environment)
        , content(models, environment.service().displayName(),
                  makeLibraryPaneFactory(models, ListEnvironment::of(environment))) {
        content.resize(900, 600);
    }
    ~RunningApp() { environment.shutDown(); }

    bool showsFirstRows() const {
        const auto& panes = content.pod().view()->panes();
        if (panes.empty()) {
            return false;
        }
        const auto* list = qobject_cast<const QAbstractItemView*>(panes.front());
        return list && list->isVisible() && list->model() && list->model()->rowCount() > 0;
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

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const Benchmark::Options options =
        Benchmark::parseOptions(argc, argv, "marrowbell-bench-app --songs N", false);
    QTemporaryDir home;
    for (const char* variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"}) {
        qputenv(variable, home.filePath(QString::fromUtf8(variable)).toUtf8());
    }
    qputenv("QT_MEDIA_BACKEND", "gstreamer");
    qputenv("GST_PLUGIN_FEATURE_RANK", "pulsesink:NONE,alsasink:NONE,pipewiresink:NONE,jackaudiosink:NONE");
    QApplication application(argc, argv);
    const QString folder = home.filePath(QStringLiteral("store"));
    QDir().mkpath(folder);
    constexpr int syncTimeoutMs = 30 * 60 * 1000;

    {
        RunningApp app(folder, options.songs);
        QElapsedTimer sinceTick;
        qint64 longestStall = 0;
        QTimer heartbeat;
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
        std::printf("full sync of %zu songs: %.2f s, longest GUI-thread stall %lld ms (heartbeat 5 ms)\n",
                    options.songs, static_cast<double>(sync.elapsed()) / 1000.0,
                    static_cast<long long>(longestStall));
    }

    QElapsedTimer start;
    start.start();
    RunningApp app(folder, options.songs);
    const qint64 constructed = start.elapsed();
    app.environment.defaults().setValue(DefaultsKeys::performedFullSync, true);
    app.content.show();
    if (!QTest::qWaitFor([&] { return app.showsFirstRows(); }, 60000)) {
        std::fprintf(stderr, "the first pane showed no rows\n");
        return 1;
    }
    std::printf(
        "start to the first pane's rows (library synced): %lld ms, of which %lld ms making the store, "
        "the demo service and the window\n",
        static_cast<long long>(start.elapsed()), static_cast<long long>(constructed));

    app.models.main->selectContainerKind(QStringLiteral("songs"));
    auto songs = app.models.topLevelSongs->load(false);
    if (!QTest::qWaitFor([&] { return songs.isFinished(); }, 120000)) {
        std::fprintf(stderr, "the songs list did not load\n");
        return 1;
    }
    QTest::qWait(200);
    std::printf("songs listed: %zu; peak memory: %ld MB\n", app.models.main->topLevelSongs.get().size(),
                Benchmark::peakResidentMegabytes());
    return 0;
}
