// The application offscreen on a store file and the in-process demo service of N songs: the longest stall of
// the GUI thread while the first full sync runs, the time from start to the main window's first rows with
// the library already synced, and the peak memory once the Songs list is loaded.
#include "App/AppEnvironment.h"
#include "BenchmarkAppEnvironment.h"
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

#include <DemoService/DemoService.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>

namespace {

using namespace Marrowbell;
using namespace Qt::StringLiterals;

struct RunningApp {
    RunningApp(const QString& folder, std::size_t songs)
        : RunningApp(folder, folder + QStringLiteral("/local.db"), songs) {}
    RunningApp(const QString& folder, const QString& databasePath, std::size_t songs)
        : environment(AppEnvironment::Options{.databasePath = databasePath,
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

// The first launch: a full sync of the demo library into `folder`, watching the GUI thread for stalls.
int syncFirst(const QString& folder, std::size_t songs) {
    constexpr int syncTimeoutMs = 30 * 60 * 1000;
    RunningApp app(folder, songs);
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
    std::printf("full sync of %zu songs: %.2f s, longest GUI-thread stall %lld ms (heartbeat 5 ms)\n", songs,
                static_cast<double>(sync.elapsed()) / 1000.0, static_cast<long long>(longestStall));
    return 0;
}

// A later launch on the synced store file, its settings in `folder`: the first rows, then the whole Songs
// list.
int startAndBrowse(const QString& folder, const QString& databasePath, std::size_t songs) {
    QElapsedTimer start;
    start.start();
    RunningApp app(folder, databasePath, songs);
    const qint64 constructed = start.elapsed();
    const long residentAfterStart = Benchmark::residentMegabytes();
    app.environment.defaults().setValue(DefaultsKeys::performedFullSync, true);
    app.content.show();
    if (!QTest::qWaitFor([&] { return app.showsFirstRows(); }, 60000)) {
        std::fprintf(stderr, "the first pane showed no rows\n");
        return 1;
    }
    std::printf(
        "start to the first pane's rows (library synced): %lld ms, of which %lld ms making the store, "
        "the service and the window\n",
        static_cast<long long>(start.elapsed()), static_cast<long long>(constructed));

    // The Songs pane loads the list itself, as when the user picks Songs.
    app.models.main->selectContainerKind(QStringLiteral("songs"));
    if (!QTest::qWaitFor([&] { return app.models.main->topLevelSongs.get().size() >= songs; }, 120000)) {
        std::fprintf(stderr, "the songs list did not load\n");
        return 1;
    }
    QTest::qWait(200);
    std::printf("songs listed: %zu; peak memory %ld MB (%ld MB resident once started%s)\n",
                app.models.main->topLevelSongs.get().size(), Benchmark::peakResidentMegabytes(),
                residentAfterStart,
                app.environment.service().isDemo() ? ", the in-process demo service included" : "");
    return 0;
}

// Points the later launch at `service` through the user's service file, as a real service is reached.
void writeServiceFile(const MusicKit::ServiceConfiguration& service) {
    const auto path = MusicKit::ServiceConfiguration::userFilePath();
    std::filesystem::create_directories(path.parent_path());
    const QJsonObject file{{u"apiBase"_s, QString::fromStdString(service.apiBase)},
                           {u"developerToken"_s, QString::fromStdString(service.developerToken)},
                           {u"userToken"_s, QString::fromStdString(service.userToken)},
                           {u"storefront"_s, QString::fromStdString(service.storefront)},
                           {u"displayName"_s, QString::fromUtf8(ActiveService::demoDisplayName)}};
    QFile out(QString::fromStdString(path.string()));
    if (!out.open(QIODevice::WriteOnly) || out.write(QJsonDocument(file).toJson()) < 0) {
        std::fprintf(stderr, "cannot write the service file\n");
        std::exit(1);
    }
}

} // namespace

// Without --db: syncs into a temporary folder with the demo service in-process, as the app does without a
// service file; then measures the later launch in a fresh process that reaches the same demo library, served
// from this process, through a service file: its start and its memory are the app's own. With --db: only the
// later launch, on that synced store file (with no service file, the demo service runs inside it).
int main(int argc, char** argv) {
    const Benchmark::Options options =
        Benchmark::parseOptions(argc, argv, "marrowbell-bench-app --songs N [--db PATH]", false);
    QTemporaryDir temporary;
    const QString folder = options.databasePath.empty()
                               ? temporary.filePath(QStringLiteral("store"))
                               : QFileInfo(QString::fromStdString(options.databasePath)).absolutePath();
    QDir().mkpath(folder);
    // The settings, caches and service file live beside the store, so that the later launch finds the
    // service file its first launch wrote.
    Benchmark::prepareAppEnvironment(folder + QStringLiteral("/home"));
    QApplication application(argc, argv);
    if (!options.databasePath.empty()) {
        return startAndBrowse(folder, QString::fromStdString(options.databasePath), options.songs);
    }
    if (const int failed = syncFirst(folder, options.songs)) {
        return failed;
    }
    DemoService::DemoService service(DemoService::DemoService::Options{.songCount = options.songs});
    service.start();
    writeServiceFile(service.configuration());
    std::fflush(stdout);
    return QProcess::execute(QCoreApplication::applicationFilePath(),
                             {QStringLiteral("--songs"), QString::number(options.songs),
                              QStringLiteral("--db"), folder + QStringLiteral("/local.db")});
}
