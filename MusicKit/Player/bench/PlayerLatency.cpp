// Measures the player on loopback: from play() to the first audio frame, with and without the
// audio prepared, and from a seek to playing again. Audio goes to a silent sink.

#include "../tests/PlayerTesting.h"

#include <DemoService/DemoService.h>
#include <MusicKit/ApplicationMusicPlayer.h>
#include <MusicKit/ServiceConfiguration.h>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using MusicKit::ApplicationMusicPlayer;
constexpr int runs = 10;
constexpr qint64 limitMs = 10000;

/// Milliseconds until `reached` holds, polling with the event loop running; -1 past the limit.
template <class Condition> double millisecondsUntil(Condition reached) {
    QElapsedTimer clock;
    clock.start();
    while (!reached()) {
        if (clock.elapsed() > limitMs) {
            return -1;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

void report(const char* what, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    std::printf("%-34s median %7.1f ms   max %7.1f ms   (%zu runs)\n", what, times[times.size() / 2],
                times.back(), times.size());
}

} // namespace

int main(int argc, char** argv) {
    MusicKit::Testing::useSilentAudio();
    QCoreApplication application(argc, argv);
    DemoService::DemoService service({200, 3});
    service.start();
    MusicKit::ServiceConfiguration::setCurrent(service.configuration());
    ApplicationMusicPlayer player;
    const auto songs = MusicKit::Testing::catalogSongs(service.library(), runs);

    std::vector<double> coldPlay;
    std::vector<double> preparedPlay;
    std::vector<double> seek;
    for (const auto& song : songs) {
        player.setQueue({song});
        QElapsedTimer clock;
        clock.start();
        player.play();
        if (millisecondsUntil([&] { return player.playbackTime() > 0.0; }) < 0) {
            std::fprintf(stderr, "no audio from %s\n", song.id.rawValue().c_str());
            return 1;
        }
        coldPlay.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);

        const double target = 60.0;
        player.setPlaybackTime(target);
        seek.push_back(millisecondsUntil([&] { return player.playbackTime() > target + 0.001; }));

        player.stop();
        MusicKit::Testing::finishes(player.prepareToPlay());
        clock.restart();
        player.play();
        millisecondsUntil([&] { return player.playbackTime() > 0.0; });
        preparedPlay.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    }
    report("play -> first frame (cold)", coldPlay);
    report("play -> first frame (prepared)", preparedPlay);
    report("seek -> playing again", seek);
    return 0;
}
