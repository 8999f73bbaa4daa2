#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace Marrowbell {

/// The one frame clock of every now-playing indicator, widgets and delegate-painted rows alike. It ticks
/// (`advanced`, about 30 times a second) only while something paints bars: each paint of shown bars calls
/// `keepRunning`, and a tick that follows no such call stops the clock. So bars that are hidden, scrolled
/// away or gone cost nothing. GUI thread only.
class NowPlayingAnimationClock : public QObject {
    Q_OBJECT

public:
    static constexpr int frameIntervalMilliseconds = 33;

    explicit NowPlayingAnimationClock(QObject* parent = nullptr);

    /// The application's clock, made on first use and destroyed with the application object.
    static NowPlayingAnimationClock& shared();

    /// Monotonic seconds since the clock was made; store it when bars are shown and paint the difference.
    double seconds() const;

    /// Asks for one more tick; call it while painting shown bars.
    void keepRunning();
    bool isRunning() const { return timer_.isActive(); }

Q_SIGNALS:
    void advanced();

private:
    void tick();

    QElapsedTimer elapsed_;
    QTimer timer_;
    bool demanded_ = false;
};

} // namespace Marrowbell
