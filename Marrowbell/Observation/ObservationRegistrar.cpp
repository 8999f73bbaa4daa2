#include "Observation/ObservationRegistrar.h"

#include <QCoreApplication>
#include <QThread>
#include <algorithm>
#include <unordered_map>
#include <vector>

namespace Marrowbell {
namespace {

struct Access {
    std::weak_ptr<ObservationRegistrar::State> registrar;
    ObservationRegistrar::Key key;

    bool operator==(const Access& other) const {
        return key == other.key && !registrar.owner_before(other.registrar) &&
               !other.registrar.owner_before(registrar);
    }
};

/// One armed onChange: fires at most once, for whichever of its fields is written first.
struct ArmedTracking {
    std::function<void()> onChange;
    std::vector<Access> watched;
    bool fired = false;
};

using ArmedTrackings = std::vector<std::shared_ptr<ArmedTracking>>;

thread_local detail::TrackingScope::Accesses* innermostScope = nullptr;

} // namespace

struct ObservationRegistrar::State {
    std::unordered_map<Key, ArmedTrackings> armed;

    void disarm(Key key, const ArmedTracking* tracking) {
        const auto entry = armed.find(key);
        if (entry == armed.end()) {
            return;
        }
        std::erase_if(entry->second,
                      [tracking](const auto& armedTracking) { return armedTracking.get() == tracking; });
        if (entry->second.empty()) {
            armed.erase(entry);
        }
    }
};

struct detail::TrackingScope::Accesses {
    std::vector<Access> reads;

    void add(const Access& access) {
        if (std::find(reads.begin(), reads.end(), access) == reads.end()) {
            reads.push_back(access);
        }
    }
};

ObservationRegistrar::ObservationRegistrar()
    : state_(std::make_shared<State>()) {}

ObservationRegistrar::~ObservationRegistrar() = default;

void ObservationRegistrar::access(Key key) const {
    detail::assertMainThread();
    if (innermostScope != nullptr) {
        innermostScope->add(Access{state_, key});
    }
}

void ObservationRegistrar::willSet(Key key) {
    detail::assertMainThread();
    const auto entry = state_->armed.find(key);
    if (entry == state_->armed.end()) {
        return;
    }
    // Taken out first: an onChange may arm anew on this key, and that arming waits for the next write.
    const ArmedTrackings trackings = std::move(entry->second);
    state_->armed.erase(entry);
    for (const auto& tracking : trackings) {
        if (tracking->fired) {
            continue;
        }
        tracking->fired = true;
        for (const Access& watched : tracking->watched) {
            if (const auto registrar = watched.registrar.lock()) {
                registrar->disarm(watched.key, tracking.get());
            }
        }
        tracking->onChange();
    }
}

namespace detail {

TrackingScope::TrackingScope()
    : accesses_(std::make_unique<Accesses>())
    , enclosing_(innermostScope) {
    assertMainThread();
    innermostScope = accesses_.get();
}

TrackingScope::~TrackingScope() {
    innermostScope = enclosing_;
    if (enclosing_ != nullptr) {
        for (const Access& access : accesses_->reads) {
            enclosing_->add(access);
        }
    }
}

void TrackingScope::arm(std::function<void()> onChange) {
    if (accesses_->reads.empty()) {
        return;
    }
    auto tracking = std::make_shared<ArmedTracking>(ArmedTracking{std::move(onChange), accesses_->reads});
    for (const Access& access : tracking->watched) {
        if (const auto registrar = access.registrar.lock()) {
            registrar->armed[access.key].push_back(tracking);
        }
    }
}

void assertMainThread() {
    Q_ASSERT_X(QCoreApplication::instance() == nullptr ||
                   QThread::currentThread() == QCoreApplication::instance()->thread(),
               "ObservationRegistrar", "observed fields are main-thread only");
}

} // namespace detail
} // namespace Marrowbell
