#pragma once

#include <QObject>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <optional>

class QAudioOutput;
class QMediaPlayer;

namespace MusicKit {

/// One stream at a time through QMediaPlayer and QAudioOutput, with loading as a completion
/// callback: a source is loaded once it is open with an audio stream found, however late its data
/// arrives; it fails on an error, when it cannot be decoded, when it is found to hold no audio, or at
/// the time-out. GUI thread only.
class PlaybackEngine : public QObject {
    Q_OBJECT
public:
    /// Empty on success, else why the source cannot be played.
    using LoadCompletion = std::function<void(std::optional<QString> failure)>;

    explicit PlaybackEngine(QObject* parent = nullptr);
    ~PlaybackEngine() override;

    /// Replaces the source. `completion` runs exactly once, later: when the source is loaded or has
    /// failed (also after `timeoutMs`), or with no failure when another load or unload comes first
    /// (the caller tells those apart). Not at all when the engine is destroyed first.
    void load(const QUrl& source, LoadCompletion completion, int timeoutMs = 15000);
    void unload();
    bool isLoaded() const { return isLoaded_; }

    void play();
    void pause();
    /// Milliseconds into the source; 0 without one. A position set before the source has loaded is
    /// where it starts, and what position() gives until then; unload() forgets it.
    qint64 position() const;
    void setPosition(qint64 milliseconds);
    /// Milliseconds, 0 while unknown.
    qint64 duration() const;

Q_SIGNALS:
    /// The loaded source has played to its end.
    void endOfMedia();
    /// The loaded source failed while playing (the connection broke, the data stopped decoding).
    void playbackFailed(const QString& reason);

private:
    void abandonLoading();
    void finishLoading(std::optional<QString> failure);
    void handleStatus();
    /// The player reports the media loaded or buffered, whether or not it has reported its streams yet.
    bool isOpened() const;
    /// Decides a pending load once the media is open and its streams tell whether it has audio.
    void settleLoading();
    void handleError();
    void confirmSeek(qint64 position);

    QMediaPlayer* player_;
    QAudioOutput* output_;
    QTimer loadTimeout_;
    LoadCompletion pendingLoad_;
    /// A seek that has not been seen to land yet.
    std::optional<qint64> requestedPosition_;
    /// Where the source that is not loaded yet starts.
    std::optional<qint64> startPosition_;
    bool isLoaded_ = false;
};

} // namespace MusicKit
