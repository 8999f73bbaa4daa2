#include "ArtworkCacheBenchmark.h"

#include "Artwork/ArtworkImageCache.h"
#include "BenchmarkStallWatch.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace Benchmark {
namespace {

using namespace Qt::StringLiterals;

constexpr int loadTimeoutMilliseconds = 60'000;

QUrl artworkURL(const std::string& baseURL, int index) {
    return QUrl(QString::fromStdString(baseURL) + u"/artwork/bench-%1/64x64.png"_s.arg(index));
}

QString artworkKey(int index) {
    return u"album-bench-%1"_s.arg(index);
}

// Requests every thumbnail at once and waits for all answers; gives the seconds and how many succeeded.
// The wait is a plain event loop: QTest's waits sleep between rounds of events, which would show as stalls.
std::pair<double, int> loadAll(Marrowbell::ArtworkImageCache& cache, const std::vector<QUrl>& urls) {
    const int count = int(urls.size());
    int answered = 0;
    int loaded = 0;
    QObject context;
    QEventLoop loop;
    QElapsedTimer elapsed;
    elapsed.start();
    for (int index = 0; index < count; ++index) {
        cache.loadImage(urls[std::size_t(index)], artworkKey(index), &context,
                        [&answered, &loaded, &loop, count](const Marrowbell::ArtworkLoadResult& result) {
                            ++answered;
                            loaded += result.succeeded() ? 1 : 0;
                            if (answered == count) {
                                loop.quit();
                            }
                        });
    }
    if (answered < count) {
        QTimer::singleShot(loadTimeoutMilliseconds, &loop, &QEventLoop::quit);
        loop.exec();
    }
    if (answered < count) {
        std::fprintf(stderr, "%d of %d artwork loads did not answer in time\n", count - answered, count);
    }
    return {double(elapsed.nsecsElapsed()) / 1e9, loaded};
}

} // namespace

ArtworkCacheFigures measureArtworkCache(int count, const QString& folder, const std::string& serviceURL) {
    QDir(folder).removeRecursively();
    // Made before the watch starts: a list's rows already hold their URLs.
    std::vector<QUrl> urls;
    for (int index = 0; index < count; ++index) {
        urls.push_back(artworkURL(serviceURL, index));
    }
    ArtworkCacheFigures figures;
    figures.count = count;
    const StallWatch watch;
    {
        Marrowbell::ArtworkImageCache cold(folder);
        std::tie(figures.coldSeconds, figures.loaded) = loadAll(cold, urls);
    }
    Marrowbell::ArtworkImageCache warm(folder);
    figures.diskSeconds = loadAll(warm, urls).first;
    figures.longestStallMilliseconds = watch.longestMilliseconds();

    QElapsedTimer elapsed;
    elapsed.start();
    int hits = 0;
    for (int index = 0; index < count; ++index) {
        hits += warm.cachedImage(artworkKey(index), urls[std::size_t(index)]) ? 1 : 0;
    }
    figures.memoryHitMilliseconds = double(elapsed.nsecsElapsed()) / 1e6 / std::max(1, hits);
    return figures;
}

void printArtworkCacheFigures(const ArtworkCacheFigures& figures) {
    std::printf("%-44s %9d of %d\n", "artwork thumbnails loaded", figures.loaded, figures.count);
    std::printf("%-44s %9.3f s\n", "artwork cold from the demo service", figures.coldSeconds);
    std::printf("%-44s %9.3f s\n", "artwork again from the disk tier", figures.diskSeconds);
    std::printf("%-44s %9.4f ms\n", "artwork memory-tier hit (mean)", figures.memoryHitMilliseconds);
    std::printf("%-44s %9.1f ms\n", "longest gap of a 5 ms heartbeat while loading",
                figures.longestStallMilliseconds);
}

} // namespace Benchmark
