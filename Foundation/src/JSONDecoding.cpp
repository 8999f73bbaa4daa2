#include "Foundation/JSONDecoding.h"

#include <algorithm>
#include <cmath>

namespace Foundation {

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
    switch (element_.type()) {
    case simdjson::dom::element_type::INT64:
        return element_.get_int64().value_unsafe();
    case simdjson::dom::element_type::UINT64:
        fail(DecodingError::Kind::dataCorrupted, "Parsed JSON number does not fit in a 64-bit integer.");
    case simdjson::dom::element_type::DOUBLE: {
        const double number = element_.get_double().value_unsafe();
        // 2^63 is exactly representable; anything at or above it does not fit.
        if (std::trunc(number) == number && number >= -9223372036854775808.0 &&
            number < 9223372036854775808.0) {
            return static_cast<std::int64_t>(number);
        }
        fail(DecodingError::Kind::dataCorrupted,
             "Parsed JSON number is not an integer that fits in 64 bits.");
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
