#pragma once

#include <QString>
#include <cstdint>

namespace Marrowbell {

/// What the playback side of MainViewModel keeps between calls besides its observed fields.
struct MainViewModelPlaybackSupport {
    /// Raised at every refresh; a library check applies its answer only while its number is current.
    std::uint64_t libraryCheckGeneration = 0;
    /// The song-start notification's attachment file, removed when the next one replaces it.
    QString notificationAttachmentPath;
};

} // namespace Marrowbell
