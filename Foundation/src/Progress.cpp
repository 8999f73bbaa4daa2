#include "Foundation/Progress.h"

#include <algorithm>

namespace Foundation {

// A progress object never holds its own lock while locking or calling into another one, so parents
// and children updated from different threads cannot deadlock.

std::shared_ptr<Progress> Progress::make(std::int64_t totalUnitCount) {
    return std::make_shared<Progress>(ConstructionKey(), totalUnitCount);
}

std::int64_t Progress::totalUnitCount() const {
    std::lock_guard lock(mutex_);
    return totalUnitCount_;
}

void Progress::setTotalUnitCount(std::int64_t count) {
    {
        std::lock_guard lock(mutex_);
        totalUnitCount_ = count;
    }
    didChange();
}

std::int64_t Progress::completedUnitCount() const {
    std::lock_guard lock(mutex_);
    return completedUnitCount_;
}

void Progress::setCompletedUnitCount(std::int64_t count) {
    {
        std::lock_guard lock(mutex_);
        completedUnitCount_ = count;
    }
    didChange();
}

void Progress::addChild(const std::shared_ptr<Progress>& child, std::int64_t pendingUnitCount) {
    if (!child || child.get() == this) {
        return;
    }
    std::shared_ptr<Progress> previousParent;
    double fraction = 0.0;
    {
        std::lock_guard lock(child->mutex_);
        previousParent = child->parent_.lock();
        child->parent_ = weak_from_this();
        fraction = child->fractionLocked();
    }
    if (previousParent && previousParent.get() != this) {
        previousParent->detachChild(child.get());
    }
    {
        std::lock_guard lock(mutex_);
        const auto existing = findChildLocked(child.get());
        if (existing != children_.end()) {
            existing->pendingUnitCount = pendingUnitCount;
        } else {
            children_.push_back(ChildShare{child, pendingUnitCount, 0.0});
        }
    }
    childDidChange(child.get(), fraction);
}

double Progress::fractionCompleted() const {
    std::lock_guard lock(mutex_);
    return fractionLocked();
}

Progress::ObserverID Progress::addObserver(Observer observer) {
    std::lock_guard lock(mutex_);
    const ObserverID id = nextObserverID_++;
    observers_.emplace_back(id, std::move(observer));
    return id;
}

void Progress::removeObserver(ObserverID id) {
    std::lock_guard lock(mutex_);
    std::erase_if(observers_, [id](const auto& entry) { return entry.first == id; });
}

double Progress::fractionLocked() const {
    if (totalUnitCount_ <= 0) {
        return 0.0;
    }
    double completed = static_cast<double>(completedUnitCount_);
    for (const auto& share : children_) {
        completed += std::min(share.fractionCompleted, 1.0) * static_cast<double>(share.pendingUnitCount);
    }
    return completed / static_cast<double>(totalUnitCount_);
}

std::vector<Progress::ChildShare>::iterator Progress::findChildLocked(const Progress* child) {
    return std::find_if(children_.begin(), children_.end(),
                        [child](const ChildShare& share) { return share.child.get() == child; });
}

void Progress::childDidChange(const Progress* child, double fraction) {
    std::shared_ptr<Progress> finishedChild;
    {
        std::lock_guard lock(mutex_);
        const auto share = findChildLocked(child);
        if (share == children_.end()) {
            return;
        }
        if (fraction >= 1.0) {
            completedUnitCount_ += share->pendingUnitCount;
            finishedChild = std::move(share->child);
            children_.erase(share);
        } else {
            share->fractionCompleted = fraction;
        }
    }
    didChange();
}

void Progress::detachChild(const Progress* child) {
    std::shared_ptr<Progress> detached;
    {
        std::lock_guard lock(mutex_);
        const auto share = findChildLocked(child);
        if (share == children_.end()) {
            return;
        }
        detached = std::move(share->child);
        children_.erase(share);
    }
    didChange();
}

void Progress::didChange() {
    std::vector<Observer> observers;
    std::shared_ptr<Progress> parent;
    double fraction = 0.0;
    {
        std::lock_guard lock(mutex_);
        observers.reserve(observers_.size());
        for (const auto& entry : observers_) {
            observers.push_back(entry.second);
        }
        parent = parent_.lock();
        fraction = fractionLocked();
    }
    for (const auto& observer : observers) {
        observer(*this);
    }
    if (parent) {
        parent->childDidChange(this, fraction);
    }
}

} // namespace Foundation
