// Times the Songs list model at library scale: marrowbell-time-songs-list [song count, default 100000].
// Prints, per step, the time from the request until the central model holds the result.

#include "App/AppEnvironment.h"
#include "BenchmarkLibrary.h"
#include "Library/SongSelection.h"
#include "LibraryModels/TopLevelSongsViewModel.h"
#include "Model/MainViewModel.h"
#include "Platform/DefaultsKeys.h"

#include <Foundation/Date.h>
#include <MusicKit/ApplicationMusicPlayer.h>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <cstdlib>

namespace {

using namespace Marrowbell;

template <class T> bool finishes(const QFuture<T>& future) {
    return QTest::qWaitFor([&] { return future.isFinished(); }, 60000);
}

void fillStore(AppEnvironment& environment, std::size_t songCount) {
    auto library = std::make_shared<Benchmark::GeneratedLibrary>(Benchmark::generateLibrary(songCount));
    auto inserted = environment.store().run([library](MarrowbellCore::LocalDatabase& database) {
        database.insert(library->songs);
        return database.allSongs().size();
    });
    if (!finishes(inserted)) {
        std::fprintf(stderr, "The store was not filled in time\n");
        std::exit(1);
    }
    std::printf("%-44s %9zu songs\n", "stored", inserted.result());
}

void timeLoad(const char* label, TopLevelSongsViewModel& songs) {
    QElapsedTimer timer;
    timer.start();
    const QFuture<void> loaded = songs.load(false);
    finishes(loaded);
    std::printf("%-44s %9lld ms\n", label, static_cast<long long>(timer.elapsed()));
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_MEDIA_BACKEND", "gstreamer");
    qputenv("GST_PLUGIN_FEATURE_RANK", "pulsesink:NONE,alsasink:NONE,pipewiresink:NONE,jackaudiosink:NONE");
    qputenv("PULSE_SERVER", "unix:/nonexistent");
    QCoreApplication application(argc, argv);
    const std::size_t songCount = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 100000;

    QTemporaryDir folder;
    AppEnvironment environment(
        AppEnvironment::Options{.databasePath = folder.filePath(QStringLiteral("local.db")),
                                .settingsPath = folder.filePath(QStringLiteral("settings.conf")),
                                .demoSongCount = 10});
    fillStore(environment, songCount);
    environment.defaults().setValue(DefaultsKeys::lastSongSync,
                                    Foundation::Date::now().timeIntervalSinceReferenceDate);

    MusicKit::ApplicationMusicPlayer player;
    MainViewModel model(environment, player);
    TopLevelSongsViewModel songs(model, environment, player);

    timeLoad("open Songs (album, ascending)", songs);
    for (const SongSortOrder order : allSongSortOrders) {
        for (const MusicSortDirection direction : allMusicSortDirections) {
            environment.defaults().setValue(DefaultsKeys::sortSongsBy, static_cast<qint64>(order));
            environment.defaults().setValue(DefaultsKeys::sortSongsDirection, static_cast<qint64>(direction));
            const std::string label =
                "re-sort: " + sortTitle(order).toStdString() + ", " + sortTitle(direction).toStdString();
            timeLoad(label.c_str(), songs);
        }
    }

    QElapsedTimer timer;
    timer.start();
    const auto rows = songs.rows();
    std::printf("%-44s %9lld ms (%zu rows)\n", "rows of the list", static_cast<long long>(timer.elapsed()),
                rows.size());
    environment.shutDown();
    return 0;
}
