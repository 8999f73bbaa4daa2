#pragma once

#include "Platform/Defaults.h"

#include <QWidget>
#include <cstdint>

class QCheckBox;

namespace DesktopIntegration {
class UserNotificationCenter;
}

namespace Marrowbell {

/// The notifications tab of the settings window: one switch, "postNotificationsWhenSongChanges", whether a
/// desktop notification is shown when a new song starts. Turning it on asks the notification centre for
/// permission; the switch stays on and "subscribe_notifications" is sent only when permission is granted
/// while the switch is still on. A refusal turns it back off silently; a failed request is logged,
/// reported under "subscribe_notifications" and turns it back off. Showing the pane asks nothing. GUI thread.
class NotificationSettingsPane final : public QWidget {
    Q_OBJECT

public:
    static constexpr int contentWidth = 360;

    NotificationSettingsPane(Defaults& defaults,
                             DesktopIntegration::UserNotificationCenter& notificationCenter,
                             QWidget* parent = nullptr);

    QCheckBox* postNotificationsToggle() const { return toggle_; }

private:
    void storedValueChanged(const QString& key);
    void requestPermission();
    void permissionAnswered(std::uint64_t request, bool granted);
    void permissionFailed(std::uint64_t request, const std::exception& error);
    bool isStillOn(std::uint64_t request) const;
    void turnOff();

    Defaults& defaults_;
    DesktopIntegration::UserNotificationCenter& notificationCenter_;
    QCheckBox* toggle_ = nullptr;
    bool shown_ = false;
    /// Raised at every change of the switch, so an answer can tell whether the switch has been turned off
    /// (or off and on again) since its request was made.
    std::uint64_t changeCount_ = 0;
};

} // namespace Marrowbell
