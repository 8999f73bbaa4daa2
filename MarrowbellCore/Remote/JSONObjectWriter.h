#pragma once

#include "CodingKeys.h"

#include <Foundation/JSONText.h>
#include <concepts>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace MarrowbellCore {

template <class Model>
concept JSONEncodable = requires(const Model& model) {
    { model.encodedJSON() } -> std::convertible_to<std::string>;
};

/// Writes one JSON object member by member, keyed by a model's coding keys. An absent optional
/// value writes no member at all.
class JSONObjectWriter {
public:
    template <class Keys> void write(Keys key, std::string_view text) {
        beginMember(stringValue(key));
        json_ += Foundation::jsonQuoted(text);
    }
    template <class Keys> void write(Keys key, std::int64_t number) {
        beginMember(stringValue(key));
        json_ += std::to_string(number);
    }
    template <class Keys> void write(Keys key, bool flag) {
        beginMember(stringValue(key));
        json_ += flag ? "true" : "false";
    }
    template <class Keys, JSONEncodable Model> void write(Keys key, const Model& model) {
        beginMember(stringValue(key));
        json_ += model.encodedJSON();
    }
    template <class Keys, class Element> void write(Keys key, const std::vector<Element>& elements) {
        beginMember(stringValue(key));
        json_ += '[';
        for (std::size_t i = 0; i < elements.size(); ++i) {
            json_ += i == 0 ? "" : ",";
            if constexpr (JSONEncodable<Element>) {
                json_ += elements[i].encodedJSON();
            } else {
                json_ += Foundation::jsonQuoted(elements[i]);
            }
        }
        json_ += ']';
    }
    template <class Keys, class Value> void write(Keys key, const std::optional<Value>& value) {
        if (value) {
            write(key, *value);
        }
    }

    std::string finished() && { return std::move(json_) + '}'; }

private:
    void beginMember(std::string_view key) {
        if (json_.size() > 1) {
            json_ += ',';
        }
        json_ += Foundation::jsonQuoted(key);
        json_ += ':';
    }

    std::string json_ = "{";
};

} // namespace MarrowbellCore
