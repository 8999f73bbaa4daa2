#include "Foundation/JSONDecoding.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace Foundation {
namespace {

bool isNumberCharacter(char c) {
    return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E';
}

bool isOutOfRangeInteger(std::string_view number) {
    if (number.find_first_of(".eE") != std::string_view::npos) {
        return false;
    }
    const char* end = number.data() + number.size();
    std::errc result{};
    if (number.starts_with('-')) {
        std::int64_t value = 0;
        result = std::from_chars(number.data(), end, value).ec;
    } else {
        std::uint64_t value = 0;
        result = std::from_chars(number.data(), end, value).ec;
    }
    return result == std::errc::result_out_of_range;
}

/// `text` with ".0" after every integer literal outside the 64-bit range, which the parser refuses whole;
/// text inside strings is copied as it is.
std::string withOutOfRangeIntegersAsReals(std::string_view text) {
    std::string result;
    result.reserve(text.size() + 16);
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == '"') {
            std::size_t end = i + 1;
            while (end < text.size() && text[end] != '"') {
                end += text[end] == '\\' ? 2 : 1;
            }
            end = std::min(end + 1, text.size());
            result.append(text, i, end - i);
            i = end;
        } else if (text[i] == '-' || (text[i] >= '0' && text[i] <= '9')) {
            std::size_t end = i + 1;
            while (end < text.size() && isNumberCharacter(text[end])) {
                ++end;
            }
            const std::string_view number = text.substr(i, end - i);
            result.append(number);
            if (isOutOfRangeInteger(number)) {
                result.append(".0");
            }
            i = end;
        } else {
            result += text[i++];
        }
    }
    return result;
}

[[noreturn]] void failAsInvalidJSON() {
    throw DecodingError(DecodingError::Kind::dataCorrupted, {}, "The given data was not valid JSON.");
}

} // namespace

simdjson::dom::element parseJSON(simdjson::dom::parser& parser, std::string_view text) {
    simdjson::dom::element root;
    const simdjson::padded_string padded(text);
    simdjson::error_code error = parser.parse(padded).get(root);
    // This parser refuses an integer beyond 64 bits as a malformed number.
    if (error == simdjson::NUMBER_ERROR) {
        const simdjson::padded_string widened(withOutOfRangeIntegersAsReals(text));
        error = parser.parse(widened).get(root);
    }
    if (error != simdjson::SUCCESS) {
        failAsInvalidJSON();
    }
    return root;
}

std::vector<std::string> JSONPath::components() const {
    std::vector<std::string> result;
    for (const JSONPath* step = this; step && (step->parent || !step->key.empty() || step->isIndex);
         step = step->parent) {
        result.push_back(step->isIndex ? DecodingError::indexKey(step->index) : std::string(step->key));
    }
    std::reverse(result.begin(), result.end());
    return result;
}

void JSONValue::fail(DecodingError::Kind kind, std::string description) const {
    throw DecodingError(kind, path_.components(), std::move(description));
}

const JSONValue& JSONValue::expectingObject() const {
    if (!element_.is_object()) {
        fail(DecodingError::Kind::typeMismatch, "Expected to decode a dictionary.");
    }
    return *this;
}

std::string JSONValue::string() const {
    std::string_view text;
    if (element_.get_string().get(text) != simdjson::SUCCESS) {
        fail(DecodingError::Kind::typeMismatch, "Expected to decode a string.");
    }
    return std::string(text);
}

std::int64_t JSONValue::integer() const {
    constexpr const char* outOfRange = "Parsed JSON number is out of range for a 64-bit integer.";
    switch (element_.type()) {
    case simdjson::dom::element_type::INT64:
        return element_.get_int64().value_unsafe();
    case simdjson::dom::element_type::UINT64:
        fail(DecodingError::Kind::dataCorrupted, outOfRange);
    case simdjson::dom::element_type::DOUBLE: {
        const double number = element_.get_double().value_unsafe();
        if (std::trunc(number) != number) {
            fail(DecodingError::Kind::dataCorrupted, "Parsed JSON number is not an integer.");
        }
        // 2^63 is exactly representable; anything at or above it does not fit. -2^63 is left out too: a
        // longer integer read as a real number may have been rounded to it.
        if (number > -9223372036854775808.0 && number < 9223372036854775808.0) {
            return static_cast<std::int64_t>(number);
        }
        fail(DecodingError::Kind::dataCorrupted, outOfRange);
    }
    default:
        fail(DecodingError::Kind::typeMismatch, "Expected to decode an integer.");
    }
}

bool JSONValue::boolean() const {
    bool flag = false;
    if (element_.get_bool().get(flag) != simdjson::SUCCESS) {
        fail(DecodingError::Kind::typeMismatch, "Expected to decode a boolean.");
    }
    return flag;
}

std::optional<simdjson::dom::element> JSONValue::member(std::string_view key) const {
    expectingObject();
    simdjson::dom::element child;
    if (element_.get_object().value_unsafe().at_key(key).get(child) != simdjson::SUCCESS || child.is_null()) {
        return std::nullopt;
    }
    return child;
}

simdjson::dom::element JSONValue::requiredMember(std::string_view key) const {
    expectingObject();
    simdjson::dom::element child;
    if (element_.get_object().value_unsafe().at_key(key).get(child) != simdjson::SUCCESS) {
        const JSONPath childPath{&path_, key};
        throw DecodingError(DecodingError::Kind::keyNotFound, childPath.components(),
                            "No value associated with key \"" + std::string(key) + "\".");
    }
    if (child.is_null()) {
        const JSONPath childPath{&path_, key};
        JSONValue(child, childPath)
            .fail(DecodingError::Kind::valueNotFound, "Expected a value but found null instead.");
    }
    return child;
}

std::string JSONValue::requiredString(std::string_view key) const {
    const JSONPath childPath{&path_, key};
    return JSONValue(requiredMember(key), childPath).string();
}

std::optional<std::string> JSONValue::optionalString(std::string_view key) const {
    const JSONPath childPath{&path_, key};
    if (auto element = member(key)) {
        return JSONValue(*element, childPath).string();
    }
    return std::nullopt;
}

std::int64_t JSONValue::requiredInteger(std::string_view key) const {
    const JSONPath childPath{&path_, key};
    return JSONValue(requiredMember(key), childPath).integer();
}

std::optional<std::int64_t> JSONValue::optionalInteger(std::string_view key) const {
    const JSONPath childPath{&path_, key};
    if (auto element = member(key)) {
        return JSONValue(*element, childPath).integer();
    }
    return std::nullopt;
}

bool JSONValue::requiredBoolean(std::string_view key) const {
    const JSONPath childPath{&path_, key};
    return JSONValue(requiredMember(key), childPath).boolean();
}

std::optional<bool> JSONValue::optionalBoolean(std::string_view key) const {
    const JSONPath childPath{&path_, key};
    if (auto element = member(key)) {
        return JSONValue(*element, childPath).boolean();
    }
    return std::nullopt;
}

} // namespace Foundation
