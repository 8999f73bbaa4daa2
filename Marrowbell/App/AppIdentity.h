#pragma once

#include <string_view>

namespace Marrowbell {

/// The application's identifier: the log subsystem and the usage-statistics app identifier.
inline constexpr std::string_view appIdentifier = "com.BrondleTamsel.Marrowbell";
/// The name shown in window titles, menus and the About box.
inline constexpr std::string_view appName = "Marrowbell";

/// The application's version, as the About box and the feedback mail show it.
std::string_view appVersion();

} // namespace Marrowbell
