#pragma once

#include "MusicKit/CatalogItems.h"
#include "MusicKit/MusicPlayerQueue.h"
#include "MusicKit/MusicPlayerState.h"
#include "MusicKit/Song.h"

#include <QFuture>
#include <QObject>
#include <QUrl>
#include <cstddef>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

namespace MusicKit {

class PlaybackEngine;

/// The application's music player: a queue of songs and stations streamed from the service of the
/// current ServiceConfiguration through QtMultimedia.
///
/// GUI thread only. The asynchronous operations return futures that finish on the GUI thread:
/// with an exception on failure (MusicPlayerError, or the service request's own MusicDataRequest::
/// Error, URLError or ServiceConfigurationError), normally on success, and normally too when a
/// later operation took over before they were done. A play that fails leaves the status stopped or
/// paused, never playing. The state and the queue announce every change before it is made.
class ApplicationMusicPlayer : public QObject {
    Q_OBJECT
public:
    /// The process's player, made on first use; it lives as long as the application object.
    static ApplicationMusicPlayer& shared();

    explicit ApplicationMusicPlayer(QObject* parent = nullptr);
    ~ApplicationMusicPlayer() override;

    MusicPlayerQueue& queue() { return *queue_; }
    const MusicPlayerQueue& queue() const { return *queue_; }
    MusicPlayerState& state() { return *state_; }
    const MusicPlayerState& state() const { return *state_; }

    /// Each replaces the queue and stops what is playing. Songs start at `startingAt` (by song id)
    /// or their first; an album or a playlist becomes its songs once prepared; a station is one
    /// entry that plays an endless run of songs.
    void setQueue(const std::vector<Song>& songs,
                  const std::optional<MusicItemID>& startingAt = std::nullopt);
    void setQueue(const Album& album);
    void setQueue(const Playlist& playlist);
    void setQueue(const Station& station);
    /// A recommended album, playlist or station.
    void setQueue(const MusicPersonalRecommendationItem& item);

    bool isPreparedToPlay() const;
    /// Fetches what the queue needs and loads the current entry's audio.
    QFuture<void> prepareToPlay();
    /// Prepares when needed, then plays.
    QFuture<void> play();
    /// While a play is still loading its entry, the entry goes on loading and waits, paused, for the
    /// next play; the play's future finishes normally.
    void pause();
    /// Stops playing; the queue stays.
    void stop();
    /// Moves to the next or previous entry (around the ends with repeat all), playing it when
    /// the player was playing. On a station without a next entry, the station's next song.
    QFuture<void> skipToNextEntry();
    QFuture<void> skipToPreviousEntry();

    /// Seconds into the current entry's audio. A time set before the audio has loaded is where it
    /// starts.
    double playbackTime() const;
    void setPlaybackTime(double seconds);

Q_SIGNALS:
    /// The current entry's audio has begun or resumed playing.
    void playbackStarted();
    /// A start the player made of its own accord has failed: moving on at the end of an entry, or to an
    /// entry made current in its queue. `failure` is what play() would have failed with.
    void startFailed(std::exception_ptr failure);

private:
    using Completion = std::function<void(std::exception_ptr failure)>;
    struct PendingContainer;

    QFuture<void> promised(const std::function<void(Completion)>& operation);
    void replaceQueue(std::vector<MusicPlayerQueueEntry> entries, std::optional<std::size_t> current,
                      std::optional<PendingContainer> container);
    void prepare(Completion done);
    void loadCurrent(Completion done);
    void loadAsset(const QUrl& assetURL, Completion done);
    void startPlaying(Completion done);
    /// The completion of a start the player made of its own accord.
    Completion reportingFailure();
    void moveTo(std::size_t index, bool keepPlaying, Completion done);
    /// What the user asked for last was to play: it plays, or a play is loading its entry.
    bool isPlayingOrStarting() const;
    void skip(int step, bool keepPlaying, Completion done);
    void handleEndOfEntry();
    void handlePlaybackFailure();
    void handleCurrentEntryChange();
    void handleShufflingChange(bool shuffles);
    /// Starts a new operation; earlier ones that are still under way no longer count.
    std::uint64_t supersede();
    template <class Result>
    void runRequest(std::function<Result(std::stop_token)> request, std::function<void(Result)> then,
                    Completion failed);

    MusicPlayerQueue* queue_;
    MusicPlayerState* state_;
    PlaybackEngine* engine_;
    std::unique_ptr<PendingContainer> pendingContainer_;
    std::unique_ptr<std::stop_source> requests_;
    std::uint64_t generation_ = 0;
    /// The entry whose audio is loaded, and for a station which of its songs.
    std::optional<std::string> loadedEntryID_;
    std::size_t stationPosition_ = 0;
    bool hasStarted_ = false;
    /// A play is loading its entry and starts it once loaded; a pause clears it.
    bool isStarting_ = false;
};

} // namespace MusicKit
