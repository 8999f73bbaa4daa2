#pragma once

#include <Foundation/Date.h>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace MarrowbellCore::ServiceDates {

/// A date and time in the internet format with a zone ("2021-03-04T05:06:07Z", "...+01:00"), or else a
/// bare day ("2021-03-04") at midnight in the local time zone.
std::optional<Foundation::Date> parseServiceDate(std::string_view text);
/// Only the bare day form, at midnight in the local time zone.
std::optional<Foundation::Date> parseReleaseDate(const std::optional<std::string>& text);

/// How many local midnights the calling thread remembers, and the most it ever remembers.
std::size_t rememberedLocalDays();
std::size_t rememberedLocalDaysLimit();

} // namespace MarrowbellCore::ServiceDates
