#pragma once

#include "Navigation/NavigationItem.h"

#include <MusicKit/MusicItemID.h>
#include <QString>
#include <optional>
#include <vector>

namespace Marrowbell {

/// One recorded place in the library that "Library SnapBack" returns to: the pod's path, its focused pane
/// and the selection of each container list. Song selections are not recorded: the song lists are restored
/// to the playing song instead.
struct SavedSnapbackState {
    std::vector<NavigationItem> path;
    int activePane = 0;
    std::optional<QString> selectedPlaylistID;
    std::optional<QString> selectedAlbumID;
    std::optional<QString> selectedArtistID;
    std::optional<MusicKit::MusicItemID> selectedMadeForYouID;
    std::optional<MusicKit::MusicItemID> selectedStationID;

    bool operator==(const SavedSnapbackState&) const = default;
};

} // namespace Marrowbell
