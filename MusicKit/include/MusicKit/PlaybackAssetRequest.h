#pragma once

#include "MusicKit/MusicItemID.h"
#include "MusicKit/Song.h"

#include <Foundation/URL.h>
#include <cstddef>
#include <stop_token>
#include <vector>

namespace MusicKit {

/// One song the player can stream: the song as the service describes it and the address of its
/// audio, which needs no authorization of its own.
struct PlaybackAsset {
    Song song;
    Foundation::URL assetURL;
};

/// Asks the service of the current ServiceConfiguration what to stream for an item: a song gives
/// itself, an album or a playlist its songs in order, a station the song it plays at `position`
/// (a station never runs out). Through MusicDataRequest: the same authorization, errors and
/// cancellation.
class PlaybackAssetRequest {
public:
    enum class ItemKind { song, album, playlist, station };

    PlaybackAssetRequest(ItemKind kind, MusicItemID id, std::size_t position = 0)
        : kind_(kind)
        , id_(std::move(id))
        , position_(position) {}

    /// Blocks until the answer is complete. Throws what MusicDataRequest::response throws (an
    /// unknown item is the service's 404), and Foundation::DecodingError for an answer without
    /// songs or addresses.
    std::vector<PlaybackAsset> response(std::stop_token stopToken = {}) const;

private:
    ItemKind kind_;
    MusicItemID id_;
    std::size_t position_;
};

} // namespace MusicKit
