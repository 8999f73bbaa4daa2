#include "LibraryModels/DetailSongsViewModel.h"

#include "ErrorReporting/ErrorReporting.h"
#include "LibraryModels/FutureSupport.h"
#include "LibraryModels/SongListPlayback.h"
#include "Model/MainViewModel.h"
#include "Model/PlaybackError.h"
#include "Platform/AppLoggers.h"
#include "Platform/GuiDelivery.h"

#include <algorithm>

namespace Marrowbell {
namespace {

using MarrowbellCore::LocalSong;

void reportPlayFailure(MainViewModel& model, const std::exception_ptr& error) {
    ErrorReporting::report(error, "play_song");
    logFailure(AppLoggers::playback(), "Failed to play song: %@", error);
    model.showPlayError.set(true);
}

} // namespace

DetailSongsViewModel::DetailSongsViewModel(MainViewModel& mainViewModel,
                                           MusicKit::ApplicationMusicPlayer& player, QObject* parent)
    : QObject(parent)
    , mainViewModel_(mainViewModel)
    , player_(player) {}

std::vector<SongSelection> DetailSongsViewModel::rows() const {
    return songSelectionRows(mainViewModel_.detailSongs.snapshot());
}

void DetailSongsViewModel::showSongs(ContainerKind kind, std::vector<LocalSong> songs, const QString& id,
                                     const QString& title) {
    if (mainViewModel_.selectedContainerKind() != kind || mainViewModel_.navigationPath.get().size() < 2) {
        return;
    }
    const std::optional<QString> songToRestore = mainViewModel_.detailSongIDToRestore;
    mainViewModel_.showSongCollection(kind, id, title, std::move(songs));
    if (songToRestore) {
        restoreSelection(mainViewModel_.detailSongs.get(), *songToRestore);
    } else {
        mainViewModel_.selectedDetailSongID.set(SongSelection::play().id());
    }
}

void DetailSongsViewModel::restoreSelection(const std::vector<LocalSong>& songs, const QString& songID) {
    const std::optional<std::string> playingID = songID.toStdString();
    const auto found = std::find_if(songs.begin(), songs.end(), [&](const LocalSong& song) {
        return song.matchesPlayingSong(playingID);
    });
    // The list scrolls to a selection made between these two signals.
    Q_EMIT mainViewModel_.snapBackSelectionsWillRestore();
    mainViewModel_.selectedDetailSongID.set(
        found == songs.end() ? std::nullopt : std::optional(QString::fromStdString(found->identifier)));
    Q_EMIT mainViewModel_.snapBackSelectionsRestored();
    mainViewModel_.detailSongIDToRestore.reset();
}

QFuture<void> DetailSongsViewModel::play(const std::vector<LocalSong>& songs, bool shuffle) {
    if (songs.empty()) {
        return finishedFuture(std::make_exception_ptr(PlaybackError(PlaybackError::Code::noSongs)));
    }
    const SongListStart start{0, shuffle, shuffle ? std::nullopt : std::optional(songs.front())};
    return playSongList(mainViewModel_, player_, songs, start, false);
}

QFuture<void> DetailSongsViewModel::play(const QString& songID) {
    const std::vector<LocalSong>& songs = mainViewModel_.detailSongs.get();
    const std::optional<SongListStart> start = songListStart(songs, songID);
    if (!start) {
        reportPlayFailure(mainViewModel_,
                          std::make_exception_ptr(PlaybackError(PlaybackError::Code::noSongs)));
        return finishedFuture();
    }
    auto promise = startedPromise();
    whenFinished(playSongList(mainViewModel_, player_, songs, *start, true), this,
                 [this, promise](QFuture<void> played) {
                     if (auto error = failureOf(played)) {
                         reportPlayFailure(mainViewModel_, error);
                     }
                     promise->finish();
                 });
    return promise->future();
}

} // namespace Marrowbell
