#pragma once

#include <DemoService/DemoService.h>
#include <MusicKit/Song.h>
#include <QCoreApplication>
#include <QFuture>
#include <QTest>
#include <exception>
#include <string>
#include <vector>

namespace MusicKit::Testing {

/// Audio goes to a sink that discards it: no device is needed, and nothing is heard.
inline void useSilentAudio() {
    qputenv("QT_MEDIA_BACKEND", "gstreamer");
    qputenv("GST_PLUGIN_FEATURE_RANK", "pulsesink:NONE,alsasink:NONE,pipewiresink:NONE,jackaudiosink:NONE");
    qputenv("PULSE_SERVER", "unix:/nonexistent");
}

/// Waits for the future with the event loop running; false when it is not finished in time.
template <class T> bool finishes(const QFuture<T>& future, int timeoutMs = 10000) {
    return QTest::qWaitFor([&] { return future.isFinished(); }, timeoutMs);
}

/// The exception the finished future holds, or null.
template <class T> std::exception_ptr failureOf(QFuture<T> future) {
    try {
        future.waitForFinished();
    } catch (...) {
        return std::current_exception();
    }
    return nullptr;
}

/// What the failure says, for test messages; empty for none.
inline std::string describe(const std::exception_ptr& failure) {
    if (!failure) {
        return {};
    }
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return "an unknown failure";
    }
}

/// The first `count` songs of the demo service's catalog.
inline std::vector<Song> catalogSongs(const DemoService::DemoLibrary& library, std::size_t count,
                                      std::size_t first = 0) {
    std::vector<Song> songs;
    for (std::size_t index = first; index < first + count; ++index) {
        const auto& song = library.catalogSongs[index];
        songs.push_back(Song{MusicItemID(song.id), song.name, "", std::nullopt,
                             static_cast<double>(song.durationInMillis) / 1000.0, std::nullopt,
                             std::nullopt});
    }
    return songs;
}

} // namespace MusicKit::Testing
