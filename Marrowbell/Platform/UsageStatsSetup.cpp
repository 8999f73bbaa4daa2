#include "Platform/UsageStatsSetup.h"

#include "Platform/QtLifecycleEvents.h"
#include "Platform/QtMainThreadExecutor.h"
#include "Platform/QtPlatformFacts.h"

#include <UsageStats/UsageStats.h>
#include <UsageStats/UsageStatsConfiguration.h>

namespace Marrowbell {

UsageStatsSetup::UsageStatsSetup(std::optional<std::string> baseURL)
    : lifecycle_(std::make_unique<QtLifecycleEvents>()) {
    auto services = UsageStats::PlatformServices::standard();
    services.mainExecutor = std::make_shared<QtMainThreadExecutor>();
    services.lifecycle = lifecycle_->hub();
    services.facts = std::make_shared<QtPlatformFacts>();
    auto configuration =
        std::make_shared<UsageStats::UsageStatsConfiguration>(appID, std::nullopt, std::move(baseURL));
    configuration->setPlatformServices(std::move(services));
    UsageStats::initialize(std::move(configuration));
}

UsageStatsSetup::~UsageStatsSetup() {
    UsageStats::terminate();
}

} // namespace Marrowbell
