#include "LibraryModels/RefreshThrottle.h"

#include "Platform/Defaults.h"

namespace Marrowbell::RefreshThrottle {

bool isDue(const Defaults& defaults, QAnyStringView key, Foundation::Date now) {
    const double lastRefresh = defaults.doubleValue(key);
    const double current = now.timeIntervalSinceReferenceDate;
    return lastRefresh > current || current - interval >= lastRefresh;
}

void markRefreshed(Defaults& defaults, QAnyStringView key, Foundation::Date now) {
    defaults.setValue(key, now.timeIntervalSinceReferenceDate);
}

} // namespace Marrowbell::RefreshThrottle
