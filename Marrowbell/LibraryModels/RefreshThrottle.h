#pragma once

#include <Foundation/Date.h>
#include <QAnyStringView>

namespace Marrowbell {

class Defaults;

/// How often a list, or one container's song list, is fetched from the music service: once a day. The time
/// of the last successful fetch is stored under the list's own key as seconds since 2001-01-01 (a double).
/// GUI thread (it reads and writes the settings).
namespace RefreshThrottle {

inline constexpr double interval = 86400.0;

/// Due when no time is stored, when the stored time is at least `interval` old, and when it lies after
/// `now` (the clock was set back), so that a wrong clock never blocks refreshes.
bool isDue(const Defaults& defaults, QAnyStringView key, Foundation::Date now = Foundation::Date::now());
/// Stores `now` as the time of the last successful fetch.
void markRefreshed(Defaults& defaults, QAnyStringView key, Foundation::Date now = Foundation::Date::now());

} // namespace RefreshThrottle
} // namespace Marrowbell
