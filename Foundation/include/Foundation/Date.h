#pragma once

#include <compare>

namespace Foundation {

/// An instant, as seconds since 2001-01-01 00:00:00 UTC (the reference date of the stored files).
struct Date {
    double timeIntervalSinceReferenceDate = 0.0;

    /// Seconds between 1970-01-01 and the reference date.
    static constexpr double timeIntervalBetween1970AndReferenceDate = 978307200.0;

    static Date now();
    static Date fromTimeIntervalSince1970(double seconds) {
        return Date{seconds - timeIntervalBetween1970AndReferenceDate};
    }
    double timeIntervalSince1970() const {
        return timeIntervalSinceReferenceDate + timeIntervalBetween1970AndReferenceDate;
    }

    auto operator<=>(const Date&) const = default;
};

} // namespace Foundation
