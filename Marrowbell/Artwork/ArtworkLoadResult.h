#pragma once

#include <QImage>
#include <QMetaType>
#include <QString>
#include <optional>

namespace Marrowbell {

/// Why an artwork load gave no image.
enum class ArtworkLoadFailure {
    /// The key is in neither tier and no URL was given.
    noArtworkURL,
    /// The request failed before a whole answer arrived (connection, time-out, ...).
    transportFailed,
    /// The server answered with a status outside 200–299.
    httpStatus,
    /// The answer's content type is not an image type.
    notAnImage,
    /// The answer's body is larger than the cache accepts.
    bodyTooLarge,
    /// The body is not a readable image.
    invalidImage,
    /// The body is an image that cannot be decoded within the allocation limit, or not at all.
    unableToCreateThumbnail,
};

/// The outcome of one artwork load: the thumbnail, or the reason there is none with a line for the log.
struct ArtworkLoadResult {
    QImage image;
    std::optional<ArtworkLoadFailure> error;
    QString detail;

    bool succeeded() const { return !error.has_value(); }

    static ArtworkLoadResult success(QImage thumbnail) { return {std::move(thumbnail), std::nullopt, {}}; }
    static ArtworkLoadResult failure(ArtworkLoadFailure reason, QString why) {
        return {QImage(), reason, std::move(why)};
    }
};

} // namespace Marrowbell

Q_DECLARE_METATYPE(Marrowbell::ArtworkLoadFailure)
