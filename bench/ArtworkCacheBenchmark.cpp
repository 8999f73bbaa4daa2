#include "ArtworkCacheBenchmark.h"

#include "Artwork/ArtworkImageCache.h"

#include <DemoService/DemoService.h>
#include <QDir>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>

namespace Benchmark {
namespace {

using namespace Qt::StringLiterals;

constexpr int loadTimeoutMilliseconds = 60'000;

// Notes the longest gap between turns of a 1 ms timer while it lives.
class StallWatch {
public:
    StallWatch() {
        timer_.setInterval(1);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            longest_ = std::max(longest_, double(sinceLastTurn_.nsecsElapsed()) / 1e6);
            sinceLastTurn_.restart();
        });
        sinceLastTurn_.start();
        timer_.start();
    }
    double longestMilliseconds() const { return longest_; }

private:
    QTimer timer_;
    QElapsedTimer sinceLastTurn_;
    double longest_ = 0;
};

QUrl artworkURL(const std::string& baseURL, int index) {
    return QUrl(QString::fromStdString(baseURL) + u"/artwork/bench-%1/64x64.png"_s.arg(index));
}

QString artworkKey(int index) {
    return u"album-bench-%1"_s.arg(index);
}

// Requests every thumbnail at once and waits for all answers; gives the seconds and how many succeeded.
std::pair<double, int> loadAll(Marrowbell::ArtworkImageCache& cache, const std::string& baseURL, int count) {
    int answered = 0;
    int loaded = 0;
    QObject context;
    QElapsedTimer elapsed;
    elapsed.start();
    for (int index = 0; index < count; ++index) {
        cache.loadImage(artworkURL(baseURL, index), artworkKey(index), &context,
                        [&answered, &loaded](const Marrowbell::ArtworkLoadResult& result) {
                            ++answered;
                            loaded += result.succeeded() ? 1 : 0;
                        });
    }
    if (!QTest::qWaitFor([&answered, count] { return answered == count; }, loadTimeoutMilliseconds)) {
        std::fprintf(stderr, "%d of %d artwork loads did not answer in time\n", count - answered, count);
    }
    return {double(elapsed.nsecsElapsed()) / 1e9, loaded};
}

} // namespace

ArtworkCacheFigures measureArtworkCache(int count, const QString& folder) {
    QDir(folder).removeRecursively();
    DemoService::DemoService service(DemoService::DemoService::Options{10, 1});
    service.start();
    ArtworkCacheFigures figures;
    figures.count = count;
    StallWatch watch;
    {
        Marrowbell::ArtworkImageCache cold(folder);
        std::tie(figures.coldSeconds, figures.loaded) = loadAll(cold, service.baseURL(), count);
    }
    Marrowbell::ArtworkImageCache warm(folder);
    figures.diskSeconds = loadAll(warm, service.baseURL(), count).first;
    figures.longestStallMilliseconds = watch.longestMilliseconds();

    QElapsedTimer elapsed;
    elapsed.start();
    int hits = 0;
    for (int index = 0; index < count; ++index) {
        hits += warm.cachedImage(artworkKey(index), artworkURL(service.baseURL(), index)) ? 1 : 0;
    }
    figures.memoryHitMilliseconds = double(elapsed.nsecsElapsed()) / 1e6 / std::max(1, hits);
    return figures;
}

void printArtworkCacheFigures(const ArtworkCacheFigures& figures) {
    std::printf("%-44s %9d of %d\n", "artwork thumbnails loaded", figures.loaded, figures.count);
    std::printf("%-44s %9.3f s\n", "artwork cold from the demo service", figures.coldSeconds);
    std::printf("%-44s %9.3f s\n", "artwork again from the disk tier", figures.diskSeconds);
    std::printf("%-44s %9.4f ms\n", "artwork memory-tier hit (mean)", figures.memoryHitMilliseconds);
    std::printf("%-44s %9.1f ms\n", "longest GUI-thread stall while loading",
                figures.longestStallMilliseconds);
}

} // namespace Benchmark
