#include "Platform/QtLifecycleEvents.h"

#include <QGuiApplication>

namespace Marrowbell {

QtLifecycleEvents::QtLifecycleEvents(QObject* parent)
    : QObject(parent) {
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
            &QtLifecycleEvents::applicationStateChanged);
    connect(qGuiApp, &QCoreApplication::aboutToQuit, this,
            [this] { hub_->publish(UsageStats::LifecycleEvent::willTerminate); });
}

void QtLifecycleEvents::applicationStateChanged(Qt::ApplicationState state) {
    const bool active = state == Qt::ApplicationActive;
    if (active == isActive_) {
        return;
    }
    isActive_ = active;
    hub_->publish(active ? UsageStats::LifecycleEvent::willBecomeActive
                         : UsageStats::LifecycleEvent::didResignActive);
}

} // namespace Marrowbell
