#pragma once

#include <QDBusConnection>

namespace DesktopIntegration {

/// Whether the system saves power: true exactly when the power-profiles daemon reports the
/// "power-saver" profile; false when the daemon is absent or does not answer within a short wait.
/// Blocks for at most that wait; any thread.
bool isLowPowerModeEnabled();
/// The same, asking the daemon on `bus` (the system bus above).
bool isLowPowerModeEnabled(const QDBusConnection& bus);

} // namespace DesktopIntegration
