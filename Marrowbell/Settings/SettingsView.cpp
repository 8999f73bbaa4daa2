#include "Settings/SettingsView.h"

#include "Settings/AppearanceSettingsPane.h"
#include "Settings/NotificationSettingsPane.h"

#include <QIcon>
#include <QTabWidget>
#include <QVBoxLayout>

namespace Marrowbell {

SettingsView::SettingsView(Defaults& defaults, AppNotifications& notifications,
                           DesktopIntegration::UserNotificationCenter& notificationCenter, QWidget* parent)
    : QWidget(parent)
    , tabs_(new QTabWidget(this))
    , appearance_(new AppearanceSettingsPane(defaults, notifications))
    , notifications_(new NotificationSettingsPane(defaults, notificationCenter)) {
    tabs_->addTab(appearance_, QIcon::fromTheme(QStringLiteral("preferences-desktop-theme")),
                  tr("Appearance"));
    tabs_->addTab(notifications_, QIcon::fromTheme(QStringLiteral("preferences-desktop-notification")),
                  tr("Notifications"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tabs_);
}

} // namespace Marrowbell
