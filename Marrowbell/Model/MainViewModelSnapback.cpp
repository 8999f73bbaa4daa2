#include "Model/MainViewModel.h"

#include <MusicKit/ApplicationMusicPlayer.h>
#include <QAnyStringView>
#include <UsageStats/UsageStats.h>
#include <string_view>

namespace Marrowbell {
namespace {

QString textOf(const std::string& id) {
    return QString::fromStdString(id);
}

bool isRecorded(const std::optional<QString>& recordedSelection, std::string_view rowID) {
    return recordedSelection && QAnyStringView::equal(*recordedSelection, QUtf8StringView(rowID));
}

bool isRecorded(const std::optional<MusicKit::MusicItemID>& recordedSelection, std::string_view rowID) {
    return recordedSelection && recordedSelection->rawValue() == rowID;
}

/// The recorded place leads to the row `rowID` of the list of `kind`. Asked for every painted row, so the
/// identifiers are compared as they stand rather than converted.
template <class Selection>
bool recordLeadsTo(const SavedSnapbackState& state, ContainerKind kind,
                   const std::optional<Selection>& recordedSelection, std::string_view rowID) {
    return state.path.size() >= 2 && state.path[1] == NavigationItem::container(kind) &&
           isRecorded(recordedSelection, rowID);
}

} // namespace

void MainViewModel::saveSnapbackState() {
    lastSavedSnapbackState.set(SavedSnapbackState{
        navigationPath.get(), activePane.get(), selectedPlaylistID.get(), selectedAlbumID.get(),
        selectedArtistID.get(), selectedMadeForYouID.get(), selectedStationID.get()});
}

SavedSnapbackState MainViewModel::snapbackStateAt(ContainerKind kind,
                                                  std::optional<NavigationItem> collection) const {
    SavedSnapbackState state{{NavigationItem::root(), NavigationItem::container(kind)},
                             1,
                             selectedPlaylistID.get(),
                             selectedAlbumID.get(),
                             selectedArtistID.get(),
                             selectedMadeForYouID.get(),
                             selectedStationID.get()};
    if (collection) {
        state.path.push_back(std::move(*collection));
    }
    return state;
}

void MainViewModel::saveSnapbackState(const MarrowbellCore::LocalPlaylist& playlist) {
    auto state =
        snapbackStateAt(ContainerKind::playlists,
                        NavigationItem::songCollection(textOf(playlist.id()), textOf(playlist.name)));
    state.selectedPlaylistID = textOf(playlist.id());
    lastSavedSnapbackState.set(std::move(state));
}

void MainViewModel::saveSnapbackState(const MarrowbellCore::LocalAlbum& album) {
    auto state = snapbackStateAt(ContainerKind::albums,
                                 NavigationItem::songCollection(textOf(album.id()), textOf(album.title)));
    state.selectedAlbumID = textOf(album.id());
    lastSavedSnapbackState.set(std::move(state));
}

void MainViewModel::saveSnapbackState(const MarrowbellCore::LocalArtist& artist) {
    auto state = snapbackStateAt(ContainerKind::artists,
                                 NavigationItem::songCollection(textOf(artist.id()), textOf(artist.name)));
    state.selectedArtistID = textOf(artist.id());
    lastSavedSnapbackState.set(std::move(state));
}

void MainViewModel::saveSongsSnapbackState() {
    lastSavedSnapbackState.set(snapbackStateAt(ContainerKind::songs, std::nullopt));
}

void MainViewModel::saveMadeForYouSnapbackState(const MusicKit::MusicPersonalRecommendationItem& item) {
    auto state = snapbackStateAt(ContainerKind::madeForYou, std::nullopt);
    state.selectedMadeForYouID = item.id;
    lastSavedSnapbackState.set(std::move(state));
}

void MainViewModel::saveStationSnapbackState(const MusicKit::MusicPersonalRecommendationItem& station) {
    auto state = snapbackStateAt(ContainerKind::stations, std::nullopt);
    state.selectedStationID = station.id;
    lastSavedSnapbackState.set(std::move(state));
}

bool MainViewModel::isSnapbackTarget(const MarrowbellCore::LocalPlaylist& playlist) const {
    const auto& state = lastSavedSnapbackState.get();
    return isPlaying.get() && state &&
           recordLeadsTo(*state, ContainerKind::playlists, state->selectedPlaylistID, playlist.id());
}

bool MainViewModel::isSnapbackTarget(const MarrowbellCore::LocalAlbum& album) const {
    const auto& state = lastSavedSnapbackState.get();
    return isPlaying.get() && state &&
           recordLeadsTo(*state, ContainerKind::albums, state->selectedAlbumID, album.id());
}

bool MainViewModel::isSnapbackTarget(const MarrowbellCore::LocalArtist& artist) const {
    const auto& state = lastSavedSnapbackState.get();
    return isPlaying.get() && state &&
           recordLeadsTo(*state, ContainerKind::artists, state->selectedArtistID, artist.id());
}

bool MainViewModel::isMadeForYouSnapbackTarget(const MusicKit::MusicPersonalRecommendationItem& item) const {
    const auto& state = lastSavedSnapbackState.get();
    return isPlaying.get() && state &&
           recordLeadsTo(*state, ContainerKind::madeForYou, state->selectedMadeForYouID, item.id.rawValue());
}

bool MainViewModel::isStationSnapbackTarget(const MusicKit::MusicPersonalRecommendationItem& station) const {
    const auto& state = lastSavedSnapbackState.get();
    return isPlaying.get() && state &&
           recordLeadsTo(*state, ContainerKind::stations, state->selectedStationID, station.id.rawValue());
}

void MainViewModel::snapBack() {
    const std::optional<SavedSnapbackState> state = lastSavedSnapbackState.get();
    if (!state) {
        return;
    }
    UsageStats::signal("snap_back");
    const std::vector<NavigationItem> shownPath = navigationPath.get();
    navigationPath.set(state->path);
    activePane.set(state->activePane);
    Q_EMIT snapBackSelectionsWillRestore();
    restoreSelections(*state, shownPath);
    Q_EMIT snapBackSelectionsRestored();
}

template <class Songs>
std::optional<QString> MainViewModel::songMatchingCurrentEntry(const Songs& songs) const {
    const auto entry = player_.queue().currentEntry();
    for (const auto& song : songs) {
        if (song.matchesPlayingSong(entry)) {
            return textOf(song.identifier);
        }
    }
    return std::nullopt;
}

void MainViewModel::restoreSelections(const SavedSnapbackState& state,
                                      const std::vector<NavigationItem>& shownPath) {
    const std::vector<NavigationItem> path = navigationPath.get();
    for (const auto& item : path) {
        if (const auto* container = item.as<NavigationItem::Container>()) {
            selectedContainerKindID.set(containerKindID(container->kind));
            switch (container->kind) {
            case ContainerKind::playlists:
                selectedPlaylistID.set(state.selectedPlaylistID);
                break;
            case ContainerKind::albums:
                selectedAlbumID.set(state.selectedAlbumID);
                break;
            case ContainerKind::artists:
                selectedArtistID.set(state.selectedArtistID);
                break;
            case ContainerKind::madeForYou:
                selectedMadeForYouID.set(state.selectedMadeForYouID);
                break;
            case ContainerKind::stations:
                selectedStationID.set(state.selectedStationID);
                break;
            case ContainerKind::songs:
                selectedTopLevelSongID.set(songMatchingCurrentEntry(topLevelSongs.get()));
                break;
            }
        } else if (item.as<NavigationItem::SongCollection>()) {
            const auto kind = selectedContainerKind();
            if (!kind || !opensSongCollections(*kind)) {
                continue;
            }
            // Songs of another collection may hold the playing song as well, yet the restored collection's
            // own songs replace them once its list has read them.
            const bool showsRestoredSongs = shownPath == path;
            if (auto songID =
                    showsRestoredSongs ? songMatchingCurrentEntry(detailSongs.get()) : std::nullopt) {
                selectedDetailSongID.set(std::move(songID));
            } else {
                const auto entry = player_.queue().currentEntry();
                const auto entrySongID =
                    entry ? MarrowbellCore::QueueEntryPlayback::songID(*entry) : std::nullopt;
                detailSongIDToRestore =
                    entrySongID ? std::optional<QString>(textOf(*entrySongID)) : std::nullopt;
            }
        }
    }
}

} // namespace Marrowbell
