// The search panel offscreen over a store of N generated songs (100,000 unless told), the demo service in a
// process of its own: the time from a keystroke in the search field until the list has drawn that
// keystroke's results, p50, p95 and max over realistic terms typed one character at a time.
#include "App/AppEnvironment.h"
#include "BenchmarkAppEnvironment.h"
#include "BenchmarkLibrary.h"
#include "BenchmarkOptions.h"
#include "BenchmarkServiceProcess.h"
#include "BenchmarkTiming.h"
#include "MainWindow/AppModels.h"
#include "MainWindow/OverlayPanel.h"
#include "PaintWatchingApplication.h"
#include "Platform/DefaultsKeys.h"
#include "Search/SearchView.h"
#include "Search/SearchWindow.h"

#include <MarrowbellCore/Store/LocalDatabase.h>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <optional>
#include <vector>

namespace {

using namespace Marrowbell;

constexpr int drawTimeoutMs = 5000;

// What people type into a music search: names that match a lot, a few, or nothing at all.
const std::vector<QString> terms{
    QStringLiteral("love"),  QStringLiteral("night"),    QStringLiteral("rock"),
    QStringLiteral("café"),  QStringLiteral("shadow r"), QStringLiteral("sky m"),
    QStringLiteral("don't"), QStringLiteral("zebra"),    QStringLiteral("blue ocean")};

void writeLibrary(const std::string& path, std::size_t songs, const std::string& artworkBaseURL) {
    MarrowbellCore::LocalDatabase store(path);
    store.open();
    const Benchmark::GeneratedLibrary library = Benchmark::generateLibrary(songs, artworkBaseURL);
    store.insert(library.songs);
    store.insert(library.albums);
    store.insert(library.artists);
    store.insert(library.playlists);
    store.close();
}

/// Milliseconds from typing a character into the field until the result list's first paint after that
/// keystroke's results arrived has ended (or until their arrival, when the list has no room to draw);
/// negative when that did not happen in time.
class KeystrokeTimer {
public:
    KeystrokeTimer(SearchView& view)
        : view_(view) {
        // The panel is placed before this runs; a list left without height has nothing to draw.
        QObject::connect(&view_, &SearchView::heightRequested, [this] {
            resultsArrived_ = true;
            if (loop_ && view_.resultList()->viewport()->height() <= 0) {
                finish();
            }
        });
        Benchmark::PaintWatchingApplication::instance().setPaintHandled([this](QWidget* painted) {
            if (loop_ && resultsArrived_ && painted == view_.resultList()->viewport()) {
                finish();
            }
        });
    }
    ~KeystrokeTimer() { Benchmark::PaintWatchingApplication::instance().setPaintHandled({}); }

    double press(const QString& character) {
        resultsArrived_ = false;
        drawn_ = -1;
        QEventLoop loop;
        loop_ = &loop;
        QTimer::singleShot(drawTimeoutMs, &loop, &QEventLoop::quit);
        elapsed_.start();
        // Typed as a key event of its own, as a keyboard gives it: QTest only types ASCII.
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, character);
        QCoreApplication::sendEvent(view_.searchField(), &press);
        if (drawn_ < 0) {
            loop.exec();
        }
        loop_ = nullptr;
        return drawn_;
    }

private:
    void finish() {
        drawn_ = static_cast<double>(elapsed_.nsecsElapsed()) / 1e6;
        loop_->quit();
        loop_ = nullptr;
    }

    SearchView& view_;
    bool resultsArrived_ = false;
    QEventLoop* loop_ = nullptr;
    QElapsedTimer elapsed_;
    double drawn_ = -1;
};

double percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(std::ceil(fraction * static_cast<double>(values.size()))) - 1;
    return values[std::min(index, values.size() - 1)];
}

double loadAverage() {
    std::ifstream file("/proc/loadavg");
    double oneMinute = 0;
    file >> oneMinute;
    return oneMinute;
}

} // namespace

int main(int argc, char** argv) {
    const Benchmark::Options options =
        Benchmark::parseOptions(argc, argv, "marrowbell-bench-search --songs N", false);
    QTemporaryDir home;
    Benchmark::prepareAppEnvironment(home.path());
    Benchmark::PaintWatchingApplication application(argc, argv);
    // The service answers the catalog searches and the recommendations; the library is the store's own.
    std::optional<Benchmark::ServiceProcess> service;
    try {
        service.emplace(120);
        service->writeServiceFile();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    const QString databasePath = home.filePath(QStringLiteral("local.db"));
    Benchmark::measure("generate and store the library", [&] {
        writeLibrary(databasePath.toStdString(), options.songs, service->configuration().apiBase);
    });

    // Only the search runs: no list loads or syncs, which would replace the generated library with the
    // demo service's.
    AppEnvironment environment(AppEnvironment::Options{
        .databasePath = databasePath, .settingsPath = home.filePath(QStringLiteral("settings.conf"))});
    Benchmark::sendMailToService(environment);
    environment.defaults().setValue(DefaultsKeys::performedFullSync, true);
    {
        AppModels models(environment);
        auto madeForYou = models.madeForYou->load();
        auto stations = models.stations->load();
        if (!QTest::qWaitFor([&] { return madeForYou.isFinished() && stations.isFinished(); }, 30000)) {
            std::fprintf(stderr, "the recommendations did not load\n");
            return 1;
        }
        QWidget window;
        window.resize(900, 600);
        auto* panel = new OverlayPanel(&window);
        SearchWindow search(models, *models.search, environment.service().displayName(), *panel);
        panel->hide();
        window.show();
        search.show();
        KeystrokeTimer timer(search.view());

        const double first = timer.press(QStringLiteral("a"));
        std::printf("first keystroke (fills the search index): %.1f ms\n", first);
        std::vector<double> times;
        int missed = 0;
        for (const QString& term : terms) {
            search.view().searchField()->clear();
            QTest::qWait(50);
            for (const QChar character : term) {
                const double ms = timer.press(QString(character));
                if (ms < 0) {
                    ++missed;
                } else {
                    times.push_back(ms);
                }
            }
        }
        std::printf(
            "keystroke to results drawn, %zu songs, %zu keystrokes over %zu terms: p50 %.1f ms, p95 %.1f "
            "ms, max %.1f ms%s\n",
            options.songs, times.size(), terms.size(), percentile(times, 0.5), percentile(times, 0.95),
            *std::max_element(times.begin(), times.end()), missed ? " (some not drawn in time)" : "");
        std::printf("load average (1 min): %.2f\n", loadAverage());
    }
    environment.shutDown();
    return 0;
}
