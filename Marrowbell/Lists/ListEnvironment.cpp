#include "Lists/ListEnvironment.h"

#include "App/AppEnvironment.h"
#include "Artwork/ArtworkImageCache.h"
#include "Artwork/NowPlayingAnimationClock.h"

namespace Marrowbell {

ListEnvironment ListEnvironment::of(AppEnvironment& environment) {
    return {environment.defaults(), environment.notifications(), ArtworkImageCache::shared(),
            NowPlayingAnimationClock::shared()};
}

} // namespace Marrowbell
