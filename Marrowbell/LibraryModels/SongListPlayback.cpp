#include "LibraryModels/SongListPlayback.h"

#include "LibraryModels/FutureSupport.h"
#include "Model/MainViewModel.h"
#include "Platform/AppLoggers.h"
#include "Platform/GuiDelivery.h"

#include <MusicKit/ApplicationMusicPlayer.h>
#include <QDateTime>
#include <algorithm>

namespace Marrowbell {
namespace {

using MarrowbellCore::LocalSong;

MusicKit::Song queueSong(const LocalSong& song) {
    std::optional<MusicKit::Artwork> artwork;
    if (song.artworkURL) {
        artwork.emplace(song.artworkURL->absoluteString());
    }
    return MusicKit::Song{song.id(),
                          song.title,
                          song.artistName.value_or(std::string()),
                          song.albumTitle,
                          song.duration,
                          std::move(artwork),
                          song.playParameters()};
}

template <class Songs> std::vector<MusicKit::Song> queueSongs(const Songs& songs, std::size_t first) {
    const std::size_t end = std::min(songs.size(), first + songQueueLimit);
    std::vector<MusicKit::Song> queue;
    queue.reserve(end - first);
    for (std::size_t index = first; index < end; ++index) {
        queue.push_back(queueSong(songs[index]));
    }
    return queue;
}

} // namespace

template <class Songs> std::optional<SongListStart> songListStart(const Songs& songs, const QString& rowID) {
    if (songs.empty()) {
        return std::nullopt;
    }
    if (rowID == u"play") {
        return SongListStart{0, false, songs.front()};
    }
    if (rowID == u"shuffle") {
        return SongListStart{0, true, std::nullopt};
    }
    const std::string identifier = rowID.toStdString();
    const auto found = std::find_if(songs.begin(), songs.end(),
                                    [&](const LocalSong& song) { return song.identifier == identifier; });
    if (found == songs.end()) {
        return std::nullopt;
    }
    return SongListStart{static_cast<std::size_t>(found - songs.begin()), false, *found};
}

template <class Songs>
QFuture<void> playSongList(MainViewModel& model, MusicKit::ApplicationMusicPlayer& player, const Songs& songs,
                           const SongListStart& start, bool saveSnapback) {
    AppLoggers::playback().info("Setting eager entries for playback");
    model.isStopped.set(false);
    model.eagerEntryDate.set(QDateTime::currentDateTimeUtc());
    model.eagerEntry.set(start.eagerEntry);
    player.setQueue(queueSongs(songs, start.first));
    player.state().setShuffleMode(start.shuffle ? std::optional(MusicKit::MusicPlayerShuffleMode::songs)
                                                : std::nullopt);
    model.refreshPlayerState();
    if (saveSnapback) {
        model.saveSnapbackState();
    }
    // One play, which prepares first: a pause or stop while the song loads then holds.
    QFuture<void> played = player.play();
    whenFinished(played, &model, [&model](QFuture<void> finished) {
        if (const auto error = failureOf(finished); error && !isCancellation(error)) {
            model.playDidFail();
        }
    });
    return played;
}

template std::optional<SongListStart> songListStart(const std::vector<LocalSong>&, const QString&);
template std::optional<SongListStart> songListStart(const MarrowbellCore::SortedRecords<LocalSong>&,
                                                    const QString&);
template QFuture<void> playSongList(MainViewModel&, MusicKit::ApplicationMusicPlayer&,
                                    const std::vector<LocalSong>&, const SongListStart&, bool);
template QFuture<void> playSongList(MainViewModel&, MusicKit::ApplicationMusicPlayer&,
                                    const MarrowbellCore::SortedRecords<LocalSong>&, const SongListStart&,
                                    bool);

} // namespace Marrowbell
