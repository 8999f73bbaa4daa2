#pragma once

#include <compare>
#include <functional>
#include <optional>
#include <string>
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

    /// A record's sort key: bytes whose order (an absent key first) is the comparison's order.
    using SortKey = std::optional<std::string>;
    using SortKeyOf = std::function<SortKey(const Record&)>;

    /// The same order, with `sortKeyOf` giving each record a key whose byte order equals the comparison's,
    /// so that sorting many records compares keys made once per record. It must be safe to call from several
    /// threads at once. An empty `sortKeyOf` leaves the records compared with each other.
    SortDescriptor withSortKeys(SortKeyOf sortKeyOf) && {
        sortKeyOf_ = std::move(sortKeyOf);
        return std::move(*this);
    }

    /// The three-way comparison of `lhs` and `rhs` in the direction asked for.
    std::weak_ordering compare(const Record& lhs, const Record& rhs) const {
        const auto ordering = comparison_(lhs, rhs);
        return order_ == SortOrder::forward ? ordering : 0 <=> ordering;
    }

    /// The three-way comparison of the records of keys `lhs` and `rhs` in the direction asked for.
    std::weak_ordering compare(const SortKey& lhs, const SortKey& rhs) const {
        return order_ == SortOrder::forward ? lhs <=> rhs : rhs <=> lhs;
    }

    /// Whether `lhs` comes strictly before `rhs`.
    bool operator()(const Record& lhs, const Record& rhs) const { return compare(lhs, rhs) < 0; }

    SortOrder order() const { return order_; }
    /// Empty when the order has no keys and records are compared with each other.
    const SortKeyOf& sortKeyOf() const { return sortKeyOf_; }

private:
    Comparison comparison_;
    SortOrder order_;
    SortKeyOf sortKeyOf_;
};

} // namespace MarrowbellCore
