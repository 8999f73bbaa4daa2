#pragma once

#include "Platform/AppNotifications.h"
#include "Platform/Defaults.h"

#include <QWidget>

class QTabWidget;

namespace DesktopIntegration {
class UserNotificationCenter;
}

namespace Marrowbell {

class AppearanceSettingsPane;
class NotificationSettingsPane;

/// The content of the settings window: the tabs "Appearance" and "Notifications". GUI thread.
class SettingsView final : public QWidget {
    Q_OBJECT

public:
    SettingsView(Defaults& defaults, AppNotifications& notifications,
                 DesktopIntegration::UserNotificationCenter& notificationCenter, QWidget* parent = nullptr);

    QTabWidget* tabs() const { return tabs_; }
    AppearanceSettingsPane* appearance() const { return appearance_; }
    NotificationSettingsPane* notifications() const { return notifications_; }

private:
    QTabWidget* tabs_ = nullptr;
    AppearanceSettingsPane* appearance_ = nullptr;
    NotificationSettingsPane* notifications_ = nullptr;
};

} // namespace Marrowbell
