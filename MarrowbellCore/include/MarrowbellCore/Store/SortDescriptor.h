#pragma once

#include <compare>
#include <functional>
#include <utility>

namespace MarrowbellCore {

enum class SortOrder { forward, reverse };

/// How the caller wants records ordered: a field, a comparison of its values and a direction.
/// The store applies it without knowing its content, on several threads at once for a large list, so
/// the comparison must have no side effects.
template <class Record> class SortDescriptor {
public:
    /// Three-way comparison of two records by the caller's field and comparison, before the direction.
    using Comparison = std::function<std::weak_ordering(const Record&, const Record&)>;

    SortDescriptor(Comparison comparison, SortOrder order = SortOrder::forward)
        : comparison_(std::move(comparison))
        , order_(order) {}

    /// Orders by `field` with `compareValues(lhsValue, rhsValue)` giving a std::weak_ordering.
    template <class Field, class CompareValues>
    static SortDescriptor keyPath(Field Record::*field, CompareValues compareValues,
                                  SortOrder order = SortOrder::forward) {
        return SortDescriptor(
            [field, compareValues](const Record& lhs, const Record& rhs) {
                return compareValues(lhs.*field, rhs.*field);
            },
            order);
    }

    /// The three-way comparison of `lhs` and `rhs` in the direction asked for.
    std::weak_ordering compare(const Record& lhs, const Record& rhs) const {
        const auto ordering = comparison_(lhs, rhs);
        return order_ == SortOrder::forward ? ordering : 0 <=> ordering;
    }

    /// Whether `lhs` comes strictly before `rhs`.
    bool operator()(const Record& lhs, const Record& rhs) const { return compare(lhs, rhs) < 0; }

    SortOrder order() const { return order_; }

private:
    Comparison comparison_;
    SortOrder order_;
};

} // namespace MarrowbellCore
