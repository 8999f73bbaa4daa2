#include "MarrowbellCore/Sync/SyncNotifications.h"

#include <algorithm>

namespace MarrowbellCore {

SyncNotificationCenter& SyncNotificationCenter::defaultCenter() {
    static SyncNotificationCenter center;
    return center;
}

SyncNotificationCenter::ObserverID SyncNotificationCenter::addObserver(std::string name, Observer observer) {
    std::lock_guard lock(mutex_);
    const auto id = nextID_++;
    registrations_.push_back({id, std::move(name), std::move(observer)});
    return id;
}

void SyncNotificationCenter::removeObserver(ObserverID id) {
    std::lock_guard lock(mutex_);
    std::erase_if(registrations_, [id](const Registration& registration) { return registration.id == id; });
}

void SyncNotificationCenter::post(const std::string& name) {
    std::vector<Observer> observers;
    {
        std::lock_guard lock(mutex_);
        for (const auto& registration : registrations_) {
            if (registration.name == name) {
                observers.push_back(registration.observer);
            }
        }
    }
    for (const auto& observer : observers) {
        observer(name);
    }
}

} // namespace MarrowbellCore
