#pragma once

#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

namespace Marrowbell {

/// Tells observers that fields of one model are about to change. A model owns one registrar; each of its
/// observed fields reports its reads through access() and its writes through withMutation(), most simply as
/// an Observed<T> member (Observed.h). A computed property with a key of its own (one that is not just the
/// fields it reads) uses an ObservationKey member as its key:
///
///     RepeatMode repeatMode() const {
///         registrar_.access(repeatModeKey_.key());
///         return player_.repeatMode();
///     }
///     void setRepeatMode(RepeatMode mode) {
///         registrar_.withMutation(repeatModeKey_.key(), [&] { player_.setRepeatMode(mode); });
///     }
///
/// Notifications are will-change: they run synchronously inside withMutation(), before the store, so an
/// observer that wants the new value reads it later (ObservationTracking::observe does). Every write
/// notifies; nothing is compared. Main thread only.
class ObservationRegistrar {
public:
    /// Identifies one field of the model: the address of its Observed<T> or ObservationKey member.
    using Key = const void*;

    ObservationRegistrar();
    ~ObservationRegistrar();
    ObservationRegistrar(const ObservationRegistrar&) = delete;
    ObservationRegistrar& operator=(const ObservationRegistrar&) = delete;

    /// Records a read of `key` in the innermost withObservationTracking() scope, if any.
    void access(Key key) const;
    /// Fires, once each, the trackings armed on `key`; each one is disarmed on every key it watched.
    void willSet(Key key);
    /// willSet(key), then `mutate()`.
    template <class Mutate> void withMutation(Key key, Mutate&& mutate) {
        willSet(key);
        std::forward<Mutate>(mutate)();
    }

    struct State;

private:
    std::shared_ptr<State> state_;
};

/// A key of its own for an observed computed property; its address is the key.
class ObservationKey {
public:
    ObservationRegistrar::Key key() const { return this; }

private:
    [[maybe_unused]] char distinctAddress_ = 0;
};

namespace detail {

/// Collects the reads made while it is the innermost scope of its thread; afterwards they also count as
/// reads of the scope around it.
class TrackingScope {
public:
    TrackingScope();
    ~TrackingScope();
    TrackingScope(const TrackingScope&) = delete;
    TrackingScope& operator=(const TrackingScope&) = delete;

    /// Arms `onChange` on every field read so far in this scope; it runs at most once.
    void arm(std::function<void()> onChange);

    struct Accesses;

private:
    std::unique_ptr<Accesses> accesses_;
    Accesses* enclosing_;
};

void assertMainThread();

} // namespace detail

/// Runs `apply`, records the observed fields it reads, and calls `onChange` once, synchronously, before the
/// first of those fields is next written (the new value is not stored yet). Returns what `apply` returns.
/// Reads inside a nested call also count for the enclosing one. Nothing read: `onChange` never runs.
/// Main thread only.
template <class Apply> decltype(auto) withObservationTracking(Apply&& apply, std::function<void()> onChange) {
    detail::TrackingScope scope;
    if constexpr (std::is_void_v<std::invoke_result_t<Apply>>) {
        std::forward<Apply>(apply)();
        scope.arm(std::move(onChange));
    } else {
        auto result = std::forward<Apply>(apply)();
        scope.arm(std::move(onChange));
        return result;
    }
}

} // namespace Marrowbell
