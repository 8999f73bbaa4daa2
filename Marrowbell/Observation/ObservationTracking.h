#pragma once

#include "Observation/AnimationContext.h"
#include "Observation/ObservationRegistrar.h"
#include "Observation/Observed.h"

#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

namespace Marrowbell {

/// Keeps one observation alive: the owner holds it, the observation only refers to it.
class ObservationTrackingToken {};

namespace ObservationTracking {
namespace detail {

template <class T> struct IsObserved : std::false_type {};
template <class T> struct IsObserved<Observed<T>> : std::true_type {};

/// An observed field's value held without copying it.
template <class T> struct SharedValue { std::shared_ptr<const T> value; };

/// Reads `keyPath` of `object`: a pointer to an Observed<T> member gives its value as a SharedValue, a
/// pointer to a const member function or any callable taking the object gives its result.
template <class Object, class KeyPath> auto snapshotOf(const Object& object, const KeyPath& keyPath) {
    using Read = std::remove_cvref_t<std::invoke_result_t<const KeyPath&, const Object&>>;
    if constexpr (IsObserved<Read>::value) {
        return SharedValue<typename Read::ValueType>{std::invoke(keyPath, object).snapshot()};
    } else {
        return std::invoke(keyPath, object);
    }
}

template <class T> const T& valueOf(const SharedValue<T>& snapshot) {
    return *snapshot.value;
}
template <class T> const T& valueOf(const T& value) {
    return value;
}

template <class Object, class KeyPath>
using SnapshotAt = decltype(snapshotOf(std::declval<const Object&>(), std::declval<const KeyPath&>()));

template <class Object, class KeyPath>
using ValueAt = std::remove_cvref_t<decltype(valueOf(std::declval<const SnapshotAt<Object, KeyPath>&>()))>;

template <class Object, class KeyPath>
class Observation : public std::enable_shared_from_this<Observation<Object, KeyPath>> {
public:
    using Value = ValueAt<Object, KeyPath>;
    using Handler = std::function<void(const Value& oldValue, const Value& newValue)>;

    Observation(Object* object, KeyPath keyPath, std::weak_ptr<ObservationTrackingToken> token,
                Handler onChange)
        : object_(object)
        , keyPath_(std::move(keyPath))
        , token_(std::move(token))
        , onChange_(std::move(onChange)) {}

    void arm() {
        withObservationTracking([this] { (void)snapshotOf(*object_, keyPath_); },
                                [self = this->shared_from_this()] { self->handleChange(); });
    }

private:
    bool isAlive() const { return object_ && !token_.expired(); }

    // Runs inside the write, before the store: only the old value can be read here.
    void handleChange() {
        Marrowbell::detail::assertMainThread();
        const AnimationContext animation = AnimationContext::current();
        if (!isAlive()) {
            return;
        }
        QMetaObject::invokeMethod(
            object_.data(),
            [self = this->shared_from_this(), oldValue = snapshotOf(*object_, keyPath_), animation] {
                self->deliver(oldValue, animation);
            },
            Qt::QueuedConnection);
    }

    // Runs on a later turn of the event loop, when the model has finished changing; writes made meanwhile are
    // folded into the value read here.
    void deliver(const SnapshotAt<Object, KeyPath>& oldValue, AnimationContext animation) {
        if (!isAlive()) {
            return;
        }
        const auto newValue = snapshotOf(*object_, keyPath_);
        const auto notify = [&] { onChange_(valueOf(oldValue), valueOf(newValue)); };
        if (animation.animates()) {
            AnimationContext::runGroup({animation.duration, true}, notify);
        } else {
            notify();
        }
        if (isAlive()) {
            arm();
        }
    }

    QPointer<Object> object_;
    KeyPath keyPath_;
    std::weak_ptr<ObservationTrackingToken> token_;
    Handler onChange_;
};

} // namespace detail

/// Calls `onChange(oldValue, newValue)` after every change of `keyPath` of `object`, on a later turn of the
/// event loop, until the returned token is released. `keyPath` is a pointer to an Observed<T> member, a
/// pointer to a const member function that reads observed fields, or a callable taking `const Object&`.
///
/// Several writes before the call are folded into one call with the latest value; a write of an equal value
/// still calls. A write made inside an animation group (AnimationContext) that animates calls `onChange`
/// inside a group of the same duration with implicit animation on. Once the token is gone, or `object` is
/// destroyed, nothing is called any more. `onChange` should hold its owner weakly. Main thread only.
template <class Object, class KeyPath, class OnChange>
[[nodiscard]] std::shared_ptr<ObservationTrackingToken> observe(Object* object, KeyPath keyPath,
                                                                OnChange onChange) {
    static_assert(std::is_base_of_v<QObject, Object>, "the observed model is a QObject");
    auto token = std::make_shared<ObservationTrackingToken>();
    auto observation = std::make_shared<detail::Observation<Object, KeyPath>>(object, std::move(keyPath),
                                                                              token, std::move(onChange));
    observation->arm();
    return token;
}

} // namespace ObservationTracking
} // namespace Marrowbell
