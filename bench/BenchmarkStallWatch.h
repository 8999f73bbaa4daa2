#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <functional>

namespace Benchmark {

/// Notes the longest gap between beats of a 5 ms heartbeat on the GUI thread while it lives: a turn of the
/// event loop that holds the thread for longer shows as a gap of that length (plus up to one interval of
/// idle wait, so the figure errs on the long side). `onBeat`, when given, runs at every beat.
class StallWatch {
public:
    explicit StallWatch(std::function<void()> onBeat = {})
        : onBeat_(std::move(onBeat)) {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            longest_ = std::max(longest_, sinceBeat());
            sinceLastBeat_.restart();
            if (onBeat_) {
                onBeat_();
            }
        });
        sinceLastBeat_.start();
        timer_.start();
    }

    /// The longest gap so far in milliseconds, counting the one still open.
    double longestMilliseconds() const { return std::max(longest_, sinceBeat()); }

private:
    double sinceBeat() const { return static_cast<double>(sinceLastBeat_.nsecsElapsed()) / 1e6; }

    std::function<void()> onBeat_;
    QTimer timer_;
    QElapsedTimer sinceLastBeat_;
    double longest_ = 0;
};

} // namespace Benchmark
