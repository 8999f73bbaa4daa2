#pragma once

#include <functional>

namespace Marrowbell {

/// The animation settings in force on the current thread: a change made inside an animation group is
/// meant to animate for `duration` seconds when implicit animation is allowed. Outside any group the
/// duration is 0 and nothing animates. Widgets read current() to choose an animated or an instant move.
struct AnimationContext {
    double duration = 0.0;
    bool allowsImplicitAnimation = false;

    /// True when changes made now should animate.
    bool animates() const { return duration > 0.0 && allowsImplicitAnimation; }

    static AnimationContext current();
    /// Runs `body` with `context` as the current context of this thread, then restores the previous one
    /// (also when `body` throws). Groups nest.
    static void runGroup(AnimationContext context, const std::function<void()>& body);
};

} // namespace Marrowbell
