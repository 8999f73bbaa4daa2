#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace Foundation {

/// The progress of a task as completed units out of a total, optionally built from child progress
/// objects that each account for a share ("pending units") of their parent's total. When a child
/// completes, its pending units are added to the parent's completed units and the child is let go.
///
/// Always owned through std::shared_ptr (see make()). Thread-safe: any thread may update or read.
/// Observers are called on the thread that made the change, after every change of this object's
/// completed or total units, or of a child's fraction; they must not add or remove observers.
class Progress : public std::enable_shared_from_this<Progress> {
public:
    using Observer = std::function<void(const Progress&)>;
    using ObserverID = std::uint64_t;

    static std::shared_ptr<Progress> make(std::int64_t totalUnitCount = 0);

    /// Only make() can name the key, so every progress object is owned by a shared_ptr.
    class ConstructionKey {
        friend class Progress;
        ConstructionKey() = default;
    };
    Progress(ConstructionKey, std::int64_t totalUnitCount)
        : totalUnitCount_(totalUnitCount) {}

    std::int64_t totalUnitCount() const;
    void setTotalUnitCount(std::int64_t count);
    std::int64_t completedUnitCount() const;
    void setCompletedUnitCount(std::int64_t count);

    /// Makes `child` contribute `pendingUnitCount` of this object's units in proportion to its own
    /// fraction. A child already attached elsewhere is moved here.
    void addChild(const std::shared_ptr<Progress>& child, std::int64_t pendingUnitCount);

    /// Completed units plus the children's weighted fractions, over the total; 0 while the total is 0.
    double fractionCompleted() const;

    ObserverID addObserver(Observer observer);
    void removeObserver(ObserverID id);

private:
    struct ChildShare {
        std::shared_ptr<Progress> child;
        std::int64_t pendingUnitCount = 0;
        double fractionCompleted = 0.0;
    };

    double fractionLocked() const;
    std::vector<ChildShare>::iterator findChildLocked(const Progress* child);
    void childDidChange(const Progress* child, double fraction);
    void detachChild(const Progress* child);
    /// Tells the observers and the parent; called with no lock held.
    void didChange();

    mutable std::mutex mutex_;
    std::int64_t totalUnitCount_ = 0;
    std::int64_t completedUnitCount_ = 0;
    std::vector<ChildShare> children_;
    std::weak_ptr<Progress> parent_;
    std::vector<std::pair<ObserverID, Observer>> observers_;
    ObserverID nextObserverID_ = 1;
};

} // namespace Foundation
