#pragma once

#include "Foundation/DecodingError.h"

#include <cstdint>
#include <optional>
#include <simdjson.h>
#include <string>
#include <string_view>
#include <vector>

namespace Foundation {

/// Where a value sits in the document, as a chain of keys and list positions kept on the stack:
/// decoding builds no path unless it fails.
struct JSONPath {
    const JSONPath* parent = nullptr;
    std::string_view key;
    std::size_t index = 0;
    bool isIndex = false;

    std::vector<std::string> components() const;
};

/// One JSON value being decoded by key. Required members must be present and not null; optional
/// members may be missing or null; a present value of the wrong JSON kind always fails, as does a
/// number that is not an integral value within the signed 64-bit range where an integer is wanted.
class JSONValue {
public:
    JSONValue(simdjson::dom::element element, const JSONPath& path)
        : element_(element)
        , path_(path) {}

    std::string string() const;
    std::int64_t integer() const;
    bool boolean() const;
    bool isNull() const { return element_.is_null(); }
    const JSONPath& path() const { return path_; }

    /// The member under `key`, or nothing when the key is missing or its value is null.
    /// Throws typeMismatch when this value is not an object.
    std::optional<simdjson::dom::element> member(std::string_view key) const;
    /// The member under `key`; throws keyNotFound or valueNotFound.
    simdjson::dom::element requiredMember(std::string_view key) const;

    std::string requiredString(std::string_view key) const;
    std::optional<std::string> optionalString(std::string_view key) const;
    std::int64_t requiredInteger(std::string_view key) const;
    std::optional<std::int64_t> optionalInteger(std::string_view key) const;
    bool requiredBoolean(std::string_view key) const;
    std::optional<bool> optionalBoolean(std::string_view key) const;

    /// Decodes each element of the array under `key` with `decodeElement(JSONValue)`.
    template <class Decode> auto requiredArray(std::string_view key, Decode decodeElement) const {
        return decodeArray(requiredMember(key), key, decodeElement);
    }
    template <class Decode>
    auto optionalArray(std::string_view key, Decode decodeElement) const
        -> std::optional<std::vector<decltype(decodeElement(std::declval<JSONValue>()))>> {
        if (auto element = member(key)) {
            return decodeArray(*element, key, decodeElement);
        }
        return std::nullopt;
    }

    /// Decodes the object under `key` with `decode(JSONValue)`.
    template <class Decode> auto requiredObject(std::string_view key, Decode decode) const {
        const JSONPath childPath{&path_, key};
        return decode(JSONValue(requiredMember(key), childPath).expectingObject());
    }
    template <class Decode>
    auto optionalObject(std::string_view key, Decode decode) const
        -> std::optional<decltype(decode(std::declval<JSONValue>()))> {
        if (auto element = member(key)) {
            const JSONPath childPath{&path_, key};
            return decode(JSONValue(*element, childPath).expectingObject());
        }
        return std::nullopt;
    }

    [[noreturn]] void fail(DecodingError::Kind kind, std::string description) const;

private:
    const JSONValue& expectingObject() const;

    template <class Decode>
    auto decodeArray(simdjson::dom::element element, std::string_view key, Decode decodeElement) const {
        const JSONPath arrayPath{&path_, key};
        if (!element.is_array()) {
            JSONValue(element, arrayPath)
                .fail(DecodingError::Kind::typeMismatch, "Expected to decode an array.");
        }
        const simdjson::dom::array array = element.get_array().value_unsafe();
        std::vector<decltype(decodeElement(std::declval<JSONValue>()))> result;
        result.reserve(array.size());
        std::size_t index = 0;
        for (simdjson::dom::element item : array) {
            const JSONPath itemPath{&arrayPath, {}, index++, true};
            const JSONValue value(item, itemPath);
            if (value.isNull()) {
                value.fail(DecodingError::Kind::valueNotFound, "Expected a value but found null instead.");
            }
            result.push_back(decodeElement(value));
        }
        return result;
    }

    simdjson::dom::element element_;
    const JSONPath& path_;
};

/// The top-level value of `text`, parsed by `parser` (and valid until its next parse). An integer beyond
/// the 64-bit range reads as a real number, so that it fails with its coding path where an integer is
/// wanted. Malformed JSON throws DecodingError (dataCorrupted, empty path).
simdjson::dom::element parseJSON(simdjson::dom::parser& parser, std::string_view text);

/// Parses `text` and decodes its top-level value with `decode(JSONValue)`.
template <class Decode> auto decodeJSON(std::string_view text, Decode decode) {
    thread_local simdjson::dom::parser parser;
    const simdjson::dom::element root = parseJSON(parser, text);
    const JSONPath rootPath;
    return decode(JSONValue(root, rootPath));
}

} // namespace Foundation
