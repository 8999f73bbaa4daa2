#pragma once

#include <QLatin1StringView>

/// Every key the application stores in its Defaults, declared once. Areas add their keys here.
namespace Marrowbell::DefaultsKeys {

// List appearance, written by the settings window and read by the list rows.
inline constexpr QLatin1StringView artworkSize{"artworkSize"};
inline constexpr QLatin1StringView fontWeight{"fontWeight"};
inline constexpr QLatin1StringView padding{"padding"};
inline constexpr QLatin1StringView limitTitlesToOneLine{"limitTitlesToOneLine"};
inline constexpr QLatin1StringView showSubtitles{"showSubtitles"};
inline constexpr QLatin1StringView useAlternatingRowColors{"useAlternatingRowColors"};

// Library state.
inline constexpr QLatin1StringView performedFullSync{"performedFullSync"};

// Desktop notifications when a new song starts, written by the notification settings.
inline constexpr QLatin1StringView postNotificationsWhenSongChanges{"postNotificationsWhenSongChanges"};

} // namespace Marrowbell::DefaultsKeys
