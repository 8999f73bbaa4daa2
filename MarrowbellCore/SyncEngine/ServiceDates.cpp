#include "ServiceDates.h"

#include <charconv>
#include <ctime>
#include <string>
#include <unordered_map>

namespace MarrowbellCore::ServiceDates {
namespace {

/// Reads exactly `digits` decimal digits at `position`, or at least one and at most `digits` when not
/// `exact`; advances `position`.
std::optional<int> number(std::string_view text, std::size_t& position, std::size_t digits, bool exact) {
    std::size_t end = position;
    while (end < text.size() && end - position < digits && text[end] >= '0' && text[end] <= '9') {
        ++end;
    }
    if (end == position || (exact && end - position != digits)) {
        return std::nullopt;
    }
    int value = 0;
    std::from_chars(text.data() + position, text.data() + end, value);
    position = end;
    return value;
}

bool expect(std::string_view text, std::size_t& position, char c) {
    if (position < text.size() && text[position] == c) {
        ++position;
        return true;
    }
    return false;
}

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

bool isValidDay(int year, int month, int day) {
    static constexpr int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12 || day < 1) {
        return false;
    }
    return day <= lengths[month - 1] + (month == 2 && isLeapYear(year) ? 1 : 0);
}

struct Day {
    int year = 0;
    int month = 0;
    int day = 0;
};

std::optional<Day> readDay(std::string_view text, std::size_t& position, bool exact) {
    const auto year = number(text, position, 4, exact);
    if (!year || !expect(text, position, '-')) {
        return std::nullopt;
    }
    const auto month = number(text, position, 2, exact);
    if (!month || !expect(text, position, '-')) {
        return std::nullopt;
    }
    const auto day = number(text, position, 2, exact);
    if (!day || !isValidDay(*year, *month, *day)) {
        return std::nullopt;
    }
    return Day{*year, *month, *day};
}

std::tm calendarTime(const Day& day, int hour = 0, int minute = 0, int second = 0) {
    std::tm time{};
    time.tm_year = day.year - 1900;
    time.tm_mon = day.month - 1;
    time.tm_mday = day.day;
    time.tm_hour = hour;
    time.tm_min = minute;
    time.tm_sec = second;
    time.tm_isdst = -1;
    return time;
}

/// The zone suffix in seconds east of UTC: "Z", "+HH:MM" or "+HHMM".
std::optional<int> readZone(std::string_view text, std::size_t& position) {
    if (expect(text, position, 'Z')) {
        return 0;
    }
    if (position >= text.size() || (text[position] != '+' && text[position] != '-')) {
        return std::nullopt;
    }
    const int sign = text[position++] == '-' ? -1 : 1;
    const auto hours = number(text, position, 2, true);
    expect(text, position, ':');
    const auto minutes = number(text, position, 2, true);
    if (!hours || !minutes || *hours > 23 || *minutes > 59) {
        return std::nullopt;
    }
    return sign * (*hours * 3600 + *minutes * 60);
}

std::optional<Foundation::Date> parseInternetDateTime(std::string_view text) {
    std::size_t position = 0;
    const auto day = readDay(text, position, true);
    if (!day || !expect(text, position, 'T')) {
        return std::nullopt;
    }
    const auto hour = number(text, position, 2, true);
    const bool firstColon = expect(text, position, ':');
    const auto minute = number(text, position, 2, true);
    const bool secondColon = expect(text, position, ':');
    const auto second = number(text, position, 2, true);
    if (!hour || !minute || !second || !firstColon || !secondColon || *hour > 23 || *minute > 59 ||
        *second > 60) {
        return std::nullopt;
    }
    const auto zone = readZone(text, position);
    if (!zone || position != text.size()) {
        return std::nullopt;
    }
    auto time = calendarTime(*day, *hour, *minute, *second);
    const auto utc = static_cast<double>(timegm(&time)) - *zone;
    return Foundation::Date::fromTimeIntervalSince1970(utc);
}

/// The local midnights one thread has converted. A library holds a few thousand distinct days at most;
/// input that holds more (arbitrary text) must not grow the memory without bound, so the memory is
/// forgotten whole when it is full.
using ConvertedDays = std::unordered_map<std::int64_t, std::optional<Foundation::Date>>;
constexpr std::size_t rememberedDaysLimit = 8192;

ConvertedDays& convertedDays() {
    thread_local ConvertedDays converted;
    return converted;
}

/// Midnight of `day` in the local time zone. mktime consults the zone files at every call, and a
/// library holds few distinct days, so each thread remembers the days it has converted.
std::optional<Foundation::Date> localMidnight(const Day& day) {
    auto& converted = convertedDays();
    const std::int64_t key = (static_cast<std::int64_t>(day.year) * 100 + day.month) * 100 + day.day;
    if (const auto found = converted.find(key); found != converted.end()) {
        return found->second;
    }
    if (converted.size() >= rememberedDaysLimit) {
        converted = ConvertedDays();
    }
    auto time = calendarTime(day);
    const auto local = std::mktime(&time);
    std::optional<Foundation::Date> date;
    if (local != static_cast<std::time_t>(-1)) {
        date = Foundation::Date::fromTimeIntervalSince1970(static_cast<double>(local));
    }
    return converted.emplace(key, date).first->second;
}

std::optional<Foundation::Date> parseLocalDay(std::string_view text) {
    std::size_t position = 0;
    const auto day = readDay(text, position, false);
    if (!day || position != text.size()) {
        return std::nullopt;
    }
    return localMidnight(*day);
}

} // namespace

std::optional<Foundation::Date> parseServiceDate(std::string_view text) {
    if (auto date = parseInternetDateTime(text)) {
        return date;
    }
    return parseLocalDay(text);
}

std::optional<Foundation::Date> parseReleaseDate(const std::optional<std::string>& text) {
    return text ? parseLocalDay(*text) : std::nullopt;
}

std::size_t rememberedLocalDays() {
    return convertedDays().size();
}

std::size_t rememberedLocalDaysLimit() {
    return rememberedDaysLimit;
}

} // namespace MarrowbellCore::ServiceDates
