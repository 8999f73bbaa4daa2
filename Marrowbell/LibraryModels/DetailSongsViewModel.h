#pragma once

#include "Library/SongSelection.h"
#include "Navigation/ContainerKind.h"

#include <MarrowbellCore/Store/LocalSong.h>
#include <QFuture>
#include <QObject>
#include <QString>
#include <vector>

namespace MusicKit {
class ApplicationMusicPlayer;
}

namespace Marrowbell {

class MainViewModel;

/// The song list of the opened playlist, album or artist (the pod's third pane). The songs and the selection
/// live on the central model (detailSongs, selectedDetailSongID); the container list models hand them in.
/// GUI thread only.
class DetailSongsViewModel final : public QObject {
    Q_OBJECT

public:
    DetailSongsViewModel(MainViewModel& mainViewModel, MusicKit::ApplicationMusicPlayer& player,
                         QObject* parent = nullptr);

    /// Play, Shuffle and the songs of the central model's detailSongs; an observed read.
    std::vector<SongSelection> rows() const;

    /// The container `id` titled `title` of `kind` has these songs: they become the central model's
    /// detailSongs and the collection the path's third item, and the Play row (or the song a snap-back left
    /// to restore) is selected. Ignored when `kind` is not the selected kind.
    void showSongs(ContainerKind kind, std::vector<MarrowbellCore::LocalSong> songs, const QString& id,
                   const QString& title);

    /// Plays `songs` from the first (shuffled when `shuffle`), at most 200 of them. Fails with PlaybackError
    /// (noSongs) for no songs, leaving the player alone, or with the player's error.
    QFuture<void> play(const std::vector<MarrowbellCore::LocalSong>& songs, bool shuffle);

    /// Plays detailSongs from the row `songID` ("play", "shuffle" or a song identifier) and records the
    /// snap-back place. Never fails: a failure, or an identifier that names no song (the player is then left
    /// alone), is reported, logged and raises the play-error alert.
    QFuture<void> play(const QString& songID);

    MainViewModel& mainViewModel() const { return mainViewModel_; }

private:
    void restoreSelection(const std::vector<MarrowbellCore::LocalSong>& songs, const QString& songID);

    MainViewModel& mainViewModel_;
    MusicKit::ApplicationMusicPlayer& player_;
};

} // namespace Marrowbell
