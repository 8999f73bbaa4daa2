#include "Settings/NotificationSettingsPane.h"

#include "ErrorReporting/ErrorReporting.h"
#include "Platform/AppLoggers.h"
#include "Platform/DefaultsKeys.h"

#include <DesktopIntegration/UserNotificationCenter.h>
#include <QCheckBox>
#include <QFormLayout>
#include <QFutureWatcher>
#include <QSignalBlocker>
#include <UsageStats/UsageStats.h>
#include <utility>

namespace Marrowbell {

NotificationSettingsPane::NotificationSettingsPane(
    Defaults& defaults, DesktopIntegration::UserNotificationCenter& notificationCenter, QWidget* parent)
    : QWidget(parent)
    , defaults_(defaults)
    , notificationCenter_(notificationCenter) {
    setFixedWidth(contentWidth);
    auto* form = new QFormLayout(this);
    toggle_ = new QCheckBox(tr("Display Notification When Song Starts Playing"), this);
    shown_ = defaults_.boolValue(DefaultsKeys::postNotificationsWhenSongChanges);
    toggle_->setChecked(shown_);
    connect(toggle_, &QCheckBox::toggled, this,
            [this](bool on) { defaults_.setValue(DefaultsKeys::postNotificationsWhenSongChanges, on); });
    form->addRow(toggle_);
    connect(&defaults_, &Defaults::valueChanged, this, &NotificationSettingsPane::storedValueChanged);
}

void NotificationSettingsPane::storedValueChanged(const QString& key) {
    if (key != DefaultsKeys::postNotificationsWhenSongChanges) {
        return;
    }
    const bool on = defaults_.boolValue(key);
    if (std::exchange(shown_, on) == on) {
        return;
    }
    ++changeCount_;
    {
        const QSignalBlocker blocker(toggle_);
        toggle_->setChecked(on);
    }
    if (on) {
        requestPermission();
    }
}

void NotificationSettingsPane::requestPermission() {
    const std::uint64_t request = changeCount_;
    auto* watcher = new QFutureWatcher<bool>(this);
    connect(watcher, &QFutureWatcher<bool>::finished, this, [this, watcher, request] {
        watcher->deleteLater();
        bool granted = false;
        try {
            granted = watcher->result();
        } catch (const std::exception& error) {
            permissionFailed(request, error);
            return;
        }
        permissionAnswered(request, granted);
    });
    watcher->setFuture(notificationCenter_.requestAuthorization());
}

bool NotificationSettingsPane::isStillOn(std::uint64_t request) const {
    return request == changeCount_ && shown_;
}

void NotificationSettingsPane::permissionAnswered(std::uint64_t request, bool granted) {
    if (!isStillOn(request)) {
        return;
    }
    if (!granted) {
        turnOff();
        return;
    }
    UsageStats::signal("subscribe_notifications");
}

void NotificationSettingsPane::permissionFailed(std::uint64_t request, const std::exception& error) {
    AppLoggers::app().error("Failed to request notification permissions: %@", {error});
    ErrorReporting::report(error, "subscribe_notifications");
    if (isStillOn(request)) {
        turnOff();
    }
}

void NotificationSettingsPane::turnOff() {
    defaults_.setValue(DefaultsKeys::postNotificationsWhenSongChanges, false);
}

} // namespace Marrowbell
