#include "LibraryModels/TopLevelSongsViewModel.h"

#include "App/AppEnvironment.h"
#include "LibraryModels/FutureSupport.h"
#include "LibraryModels/SongListPlayback.h"
#include "Model/MainViewModel.h"
#include "Model/PlaybackError.h"
#include "Platform/GuiDelivery.h"

namespace Marrowbell {

using MarrowbellCore::LocalSong;

TopLevelSongsViewModel::TopLevelSongsViewModel(MainViewModel& mainViewModel, AppEnvironment& environment,
                                               MusicKit::ApplicationMusicPlayer& player, QObject* parent)
    : QObject(parent)
    , mainViewModel_(mainViewModel)
    , player_(player)
    , list_(registrar_, environment, this, [this](auto songs) { install(std::move(songs)); }) {}

SongSortOrder TopLevelSongsViewModel::sortOrder() const {
    return list_.sortOrder();
}

void TopLevelSongsViewModel::setSortOrder(SongSortOrder order) {
    list_.setSortOrder(order);
}

MusicSortDirection TopLevelSongsViewModel::sortDirection() const {
    return list_.sortDirection();
}

void TopLevelSongsViewModel::setSortDirection(MusicSortDirection direction) {
    list_.setSortDirection(direction);
}

MarrowbellCore::SortDescriptor<LocalSong> TopLevelSongsViewModel::sortDescriptor() const {
    return list_.sortDescriptor();
}

std::vector<SongSelection> TopLevelSongsViewModel::rows() const {
    return songSelectionRows(mainViewModel_.topLevelSongs.snapshot());
}

QFuture<void> TopLevelSongsViewModel::load(bool sync) {
    return list_.load(sync);
}

QFuture<void> TopLevelSongsViewModel::reloadIfLoaded() {
    return list_.hasLoaded() ? load(false) : finishedFuture();
}

void TopLevelSongsViewModel::install(SortedLibraryList<LocalSong>::Records songs) {
    mainViewModel_.topLevelSongs.setShared(std::move(songs));
    if (!mainViewModel_.selectedTopLevelSongID.get()) {
        mainViewModel_.selectedTopLevelSongID.set(SongSelection::play().id());
    }
}

QFuture<void> TopLevelSongsViewModel::play(const QString& songID) {
    if (!mainViewModel_.topLevelSongs.get().empty()) {
        return playLoaded(songID);
    }
    auto promise = startedPromise();
    whenFinished(load(false), this, [this, promise, songID](const QFuture<void>&) {
        QFuture<void> played = playLoaded(songID);
        whenFinished(played, this, [promise](QFuture<void> finished) {
            if (auto error = failureOf(finished)) {
                promise->setException(error);
            }
            promise->finish();
        });
    });
    return promise->future();
}

QFuture<void> TopLevelSongsViewModel::playLoaded(const QString& songID) {
    const auto& songs = mainViewModel_.topLevelSongs.get();
    const std::optional<SongListStart> start = songListStart(songs, songID);
    if (!start) {
        return finishedFuture(std::make_exception_ptr(PlaybackError(PlaybackError::Code::noSongs)));
    }
    return playSongList(mainViewModel_, player_, songs, *start, true);
}

} // namespace Marrowbell
