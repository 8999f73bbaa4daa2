#pragma once

#include "Observation/Observed.h"

#include <functional>
#include <utility>

namespace Marrowbell {

/// A two-way connection to a value a model owns: a list reads its selection or focused pane through `get`
/// and writes it through `set`. GUI thread.
template <class T> struct ListBinding {
    std::function<T()> get;
    std::function<void(const T&)> set;
};

/// The binding of one observed field of `model`; writing through it notifies the field's observers.
template <class Model, class T> ListBinding<T> bindObserved(Model& model, Observed<T> Model::*field) {
    return {[&model, field] { return (model.*field).get(); },
            [&model, field](const T& value) { (model.*field).set(value); }};
}

} // namespace Marrowbell
