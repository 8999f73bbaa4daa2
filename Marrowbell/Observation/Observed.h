#pragma once

#include "Observation/ObservationRegistrar.h"

#include <memory>
#include <utility>

namespace Marrowbell {

/// One observed field of a model: reads register with the model's registrar, writes notify it before the
/// store. Declare the registrar before the fields that use it:
///
///     class MainViewModel : public QObject {
///         ObservationRegistrar registrar_;
///     public:
///         Observed<std::optional<QString>> selectedAlbumID{registrar_};
///         Observed<bool> isStopped{registrar_, true};
///     };
///
///     model.isStopped.set(false);                   // observers of isStopped hear of it first
///     ObservationTracking::observe(&model, &MainViewModel::isStopped, handler);
///
/// The field's address is its key, so it can be neither copied nor moved. Main thread only.
template <class T> class Observed {
public:
    using ValueType = T;

    explicit Observed(ObservationRegistrar& registrar, T initialValue = T{})
        : registrar_(registrar)
        , value_(std::make_shared<const T>(std::move(initialValue))) {}
    Observed(const Observed&) = delete;
    Observed& operator=(const Observed&) = delete;

    /// The value; inside a tracking scope, the read is recorded.
    const T& get() const {
        registrar_.access(key());
        return *value_;
    }
    /// The value as it is now, kept unchanged by later writes; read like get(). Costs no copy of the value,
    /// which matters for fields that hold whole lists.
    std::shared_ptr<const T> snapshot() const {
        registrar_.access(key());
        return value_;
    }
    /// Notifies the field's observers, then stores `value`; also when it equals the value held.
    void set(T value) { setShared(std::make_shared<const T>(std::move(value))); }
    /// The same for a value that others may hold as well: a list is handed over without a copy.
    void setShared(std::shared_ptr<const T> value) {
        registrar_.withMutation(key(), [&] { value_ = std::move(value); });
    }

    ObservationRegistrar::Key key() const { return this; }

private:
    ObservationRegistrar& registrar_;
    std::shared_ptr<const T> value_;
};

} // namespace Marrowbell
