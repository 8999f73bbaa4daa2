#include "Artwork/NowPlayingAnimationClock.h"

#include <QCoreApplication>
#include <QPointer>

namespace Marrowbell {

NowPlayingAnimationClock::NowPlayingAnimationClock(QObject* parent)
    : QObject(parent) {
    elapsed_.start();
    timer_.setInterval(frameIntervalMilliseconds);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &NowPlayingAnimationClock::tick);
}

NowPlayingAnimationClock& NowPlayingAnimationClock::shared() {
    static QPointer<NowPlayingAnimationClock> instance;
    if (!instance) {
        instance = new NowPlayingAnimationClock(QCoreApplication::instance());
    }
    return *instance;
}

double NowPlayingAnimationClock::seconds() const {
    return double(elapsed_.nsecsElapsed()) / 1e9;
}

void NowPlayingAnimationClock::keepRunning() {
    demanded_ = true;
    if (!timer_.isActive()) {
        timer_.start();
    }
}

void NowPlayingAnimationClock::tick() {
    if (!demanded_) {
        timer_.stop();
        return;
    }
    demanded_ = false;
    Q_EMIT advanced();
}

} // namespace Marrowbell
