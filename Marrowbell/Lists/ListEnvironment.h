#pragma once

namespace Marrowbell {

class AppEnvironment;
class AppNotifications;
class ArtworkImageCache;
class Defaults;
class NowPlayingAnimationClock;

/// What every list uses of the application: the display settings, the in-app notifications, the artwork
/// cache and the now-playing bars' clock. GUI thread.
struct ListEnvironment {
    Defaults& defaults;
    AppNotifications& notifications;
    ArtworkImageCache& artwork;
    NowPlayingAnimationClock& clock;

    /// The application's settings and notifications with the shared artwork cache and clock.
    static ListEnvironment of(AppEnvironment& environment);
};

} // namespace Marrowbell
