#pragma once

#include <QImage>

namespace Marrowbell {

/// What an artwork view shows: the loaded image, nothing yet, or the placeholder after a failed load.
struct ArtworkState {
    enum class Kind { loaded, unknown, failed };

    Kind kind = Kind::unknown;
    QImage image;

    static ArtworkState loaded(QImage shown) { return {Kind::loaded, std::move(shown)}; }
    static ArtworkState unknown() { return {}; }
    static ArtworkState failed() { return {Kind::failed, QImage()}; }

    bool isLoaded() const { return kind == Kind::loaded; }
};

} // namespace Marrowbell
