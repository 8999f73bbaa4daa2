#pragma once

#include <QObject>
#include <UsageStats/LifecycleEventHub.h>
#include <memory>

namespace Marrowbell {

/// Publishes the application's lifecycle to UsageStats: becoming active and resigning active from the
/// application state, and termination from `aboutToQuit`. GUI thread.
class QtLifecycleEvents final : public QObject {
    Q_OBJECT

public:
    explicit QtLifecycleEvents(QObject* parent = nullptr);

    std::shared_ptr<UsageStats::LifecycleEventHub> hub() const { return hub_; }

private:
    void applicationStateChanged(Qt::ApplicationState state);

    std::shared_ptr<UsageStats::LifecycleEventHub> hub_ = std::make_shared<UsageStats::LifecycleEventHub>();
    bool isActive_ = false;
};

} // namespace Marrowbell
