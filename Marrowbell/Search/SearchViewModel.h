#pragma once

#include "Observation/ObservationRegistrar.h"
#include "Observation/Observed.h"

#include <QObject>
#include <cstdint>

namespace Marrowbell {

/// Which side the search panel searches: the stored library or the service's catalog.
enum class SearchPickerSelection { library = 0, catalog = 1 };

/// The search panel's shared state, one per process: the source it searches, whether it is shown, and a
/// counter that every request to show it raises (the panel refocuses and resets itself on each). Every write
/// notifies the field's observers, also of an equal value. GUI thread only.
class SearchViewModel final : public QObject {
    Q_OBJECT

    ObservationRegistrar registrar_;

public:
    explicit SearchViewModel(QObject* parent = nullptr)
        : QObject(parent) {}

    Observed<std::int64_t> generation{registrar_, 0};
    Observed<SearchPickerSelection> selection{registrar_, SearchPickerSelection::library};
    Observed<bool> showsSearch{registrar_, false};

    /// Shows the panel (notifying even when it is shown already), then raises `generation`.
    void showSearch() {
        showsSearch.set(true);
        generation.set(generation.get() + 1);
    }
};

} // namespace Marrowbell
