#pragma once

#include "Library/LocalizedStandardComparison.h"
#include "Library/SortOrders.h"

#include <Foundation/Date.h>
#include <compare>
#include <cstddef>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace Marrowbell::Testing {

inline std::weak_ordering compareKeys(const std::optional<std::string>& lhs,
                                      const std::optional<std::string>& rhs) {
    return LocalizedStandardComparison()(lhs, rhs);
}

inline std::weak_ordering compareKeys(const std::optional<double>& lhs, const std::optional<double>& rhs) {
    if (lhs && rhs) {
        return std::weak_order(*lhs, *rhs);
    }
    return lhs.has_value() <=> rhs.has_value();
}

inline std::optional<double> dateKey(const std::optional<Foundation::Date>& date) {
    return date ? std::optional(date->timeIntervalSinceReferenceDate) : std::nullopt;
}

/// What the checked order held: absent keys and neighbours with equal keys.
struct OrderFacts {
    std::size_t absentKeys = 0;
    std::size_t equalNeighbours = 0;
};

/// Expects `records` ordered by `key` in `direction` (absent keys first when ascending, last when
/// descending; equal keys in any order).
template <class Records, class Key>
OrderFacts expectOrdered(const Records& records, Key key, MusicSortDirection direction,
                         const std::string& what) {
    OrderFacts facts;
    for (std::size_t index = 0; index < records.size(); ++index) {
        const auto current = key(records[index]);
        facts.absentKeys += current.has_value() ? 0 : 1;
        if (index == 0) {
            continue;
        }
        const std::weak_ordering order = compareKeys(key(records[index - 1]), current);
        facts.equalNeighbours += order == 0 ? 1 : 0;
        if (direction == MusicSortDirection::ascending) {
            EXPECT_TRUE(order <= 0) << what << " at " << index;
        } else {
            EXPECT_TRUE(order >= 0) << what << " at " << index;
        }
    }
    return facts;
}

} // namespace Marrowbell::Testing
