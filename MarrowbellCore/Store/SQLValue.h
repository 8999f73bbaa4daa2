#pragma once

#include <Foundation/Date.h>
#include <Foundation/URL.h>
#include <MusicKit/PlayParameters.h>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace MarrowbellCore {

/// Play parameters already turned into their property-list bytes (nothing when encoding failed), so that
/// a write encodes each song's parameters once.
struct EncodedPlayParameters {
    std::optional<std::vector<std::uint8_t>> bytes;
};

/// One dynamically typed value bound to a statement parameter, each type as itself: texts and URLs as TEXT,
/// dates as REAL seconds since 2001-01-01, integers and booleans as INTEGER, play parameters as their
/// property-list BLOB, byte buffers as BLOB, floating-point numbers as REAL, absent values as NULL. A type
/// without a binding (an unsigned size, say) does not compile.
class SQLValue {
public:
    using Storage =
        std::variant<std::monostate, std::string, Foundation::URL, Foundation::Date, std::int64_t, bool,
                     MusicKit::PlayParameters, EncodedPlayParameters, double, std::vector<std::uint8_t>>;

    SQLValue() = default;
    SQLValue(std::nullopt_t) {}
    SQLValue(std::string text)
        : storage_(std::move(text)) {}
    SQLValue(std::string_view text)
        : storage_(std::string(text)) {}
    SQLValue(const char* text)
        : storage_(std::string(text)) {}
    SQLValue(Foundation::URL url)
        : storage_(std::move(url)) {}
    SQLValue(Foundation::Date date)
        : storage_(date) {}
    SQLValue(std::int64_t integer)
        : storage_(integer) {}
    SQLValue(std::int32_t integer)
        : storage_(std::int64_t{integer}) {}
    SQLValue(bool flag)
        : storage_(flag) {}
    SQLValue(MusicKit::PlayParameters parameters)
        : storage_(std::move(parameters)) {}
    SQLValue(EncodedPlayParameters parameters)
        : storage_(std::move(parameters)) {}
    SQLValue(double number)
        : storage_(number) {}
    SQLValue(float number)
        : storage_(double{number}) {}
    SQLValue(std::vector<std::uint8_t> bytes)
        : storage_(std::move(bytes)) {}

    template <class T> SQLValue(const std::optional<T>& value) {
        if (value) {
            *this = SQLValue(*value);
        }
    }
    /// Every other type: no binding, so no silent one.
    template <class T> SQLValue(const T&) = delete;

    const Storage& storage() const { return storage_; }

private:
    Storage storage_;
};

using SQLValues = std::vector<SQLValue>;

} // namespace MarrowbellCore
