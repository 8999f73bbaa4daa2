#pragma once

#include <QString>
#include <string>

namespace Benchmark {

/// What the artwork cache costs for `count` thumbnails from a demo service on the loopback interface.
struct ArtworkCacheFigures {
    int count = 0;
    int loaded = 0;
    /// Every thumbnail downloaded, scaled and written (all requested at once).
    double coldSeconds = 0;
    /// Every thumbnail again, read by a fresh cache from the disk tier.
    double diskSeconds = 0;
    /// One memory-tier lookup, averaged over all of them.
    double memoryHitMilliseconds = 0;
    /// The longest gap between beats of a 5 ms timer on the GUI thread while the loads ran.
    double longestStallMilliseconds = 0;
};

/// Runs the three passes against the demo service at `serviceURL` with a cache in `folder` (emptied first);
/// needs a QApplication. Every wait is bounded: loads that have not answered after a minute count as not
/// loaded.
ArtworkCacheFigures measureArtworkCache(int count, const QString& folder, const std::string& serviceURL);

/// Prints the figures, one line each, in the benchmarks' format.
void printArtworkCacheFigures(const ArtworkCacheFigures& figures);

} // namespace Benchmark
