#pragma once

#include <MusicKit/Artwork.h>
#include <QFuture>
#include <QImage>
#include <QString>
#include <optional>
#include <stdexcept>

namespace Marrowbell {

/// An artwork could not be loaded: nothing is cached under its key and it has no address to fetch, or the
/// fetched bytes give no picture. Network failures say what the network layer said.
class ArtworkLoadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// Where the player's artwork comes from: a cache of small thumbnails, in memory and one file per key, filled
/// from the network. GUI thread; the futures finish on it.
class PlayerArtworkLoader {
public:
    virtual ~PlayerArtworkLoader() = default;

    /// The thumbnail cached under `key`, else the artwork's 64 by 64 pixel address fetched and cached under
    /// `key`. Fails with ArtworkLoadError.
    virtual QFuture<QImage> image(const std::optional<MusicKit::Artwork>& artwork, const QString& key) = 0;
    /// The path of the file that holds the thumbnail of `key`, whether or not it exists yet.
    virtual QString filePath(const QString& key) const = 0;
};

} // namespace Marrowbell
