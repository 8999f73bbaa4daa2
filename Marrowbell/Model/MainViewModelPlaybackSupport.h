#pragma once

#include "Model/NotificationAttachment.h"

#include <MarrowbellCore/ItemViews/PlaybackItem.h>
#include <QString>
#include <cstdint>
#include <optional>
#include <utility>

namespace DesktopIntegration {
class UserNotificationCenter;
}

namespace Marrowbell {

/// What the playback side of MainViewModel keeps between calls besides its observed fields.
struct MainViewModelPlaybackSupport {
    /// Raised at every refresh; a library check applies its answer only while its number is current.
    std::uint64_t libraryCheckGeneration = 0;
    /// The session bus's centre unless one was given.
    DesktopIntegration::UserNotificationCenter* notificationCenter = nullptr;
    /// The song-start notification's image file, removed when the next one replaces it.
    NotificationAttachment notificationAttachment;
    /// The new song to announce once the player plays it, with its song identifier.
    std::optional<std::pair<MarrowbellCore::PlaybackItem, QString>> unannouncedSong;
};

} // namespace Marrowbell
