#include "MusicKit/PlayParameters.h"

#include <Foundation/DecodingError.h>
#include <Foundation/JSONDecoding.h>

namespace MusicKit {
namespace {

using Foundation::DecodingError;
using Foundation::PropertyListDictionary;

std::string requiredText(const PropertyListDictionary& dictionary, const char* key) {
    const auto* value = dictionary.find(key);
    if (!value) {
        throw DecodingError(DecodingError::Kind::keyNotFound, {key},
                            std::string("No value associated with key \"") + key + "\".");
    }
    const auto* text = std::get_if<std::string>(value);
    if (!text) {
        throw DecodingError(DecodingError::Kind::typeMismatch, {key}, "Expected to decode a string.");
    }
    return *text;
}

template <class T> std::optional<T> lenientValue(const PropertyListDictionary& dictionary, const char* key) {
    if (const auto* value = dictionary.find(key)) {
        if (const auto* typed = std::get_if<T>(value)) {
            return *typed;
        }
    }
    return std::nullopt;
}

template <class T, class Read>
std::optional<T> lenientJSONValue(const Foundation::JSONValue& object, std::string_view key, Read read) {
    const auto element = object.member(key);
    if (!element) {
        return std::nullopt;
    }
    const Foundation::JSONPath path{&object.path(), key};
    try {
        return read(Foundation::JSONValue(*element, path));
    } catch (const DecodingError&) {
        return std::nullopt;
    }
}

} // namespace

PropertyListDictionary PlayParameters::propertyListDictionary() const {
    PropertyListDictionary dictionary;
    dictionary.set("id", id);
    dictionary.set("kind", kind);
    if (isLibrary) {
        dictionary.set("isLibrary", *isLibrary);
    }
    if (reporting) {
        dictionary.set("reporting", *reporting);
    }
    if (catalogId) {
        dictionary.set("catalogId", *catalogId);
    }
    if (purchasedId) {
        dictionary.set("purchasedId", *purchasedId);
    }
    if (reportingId) {
        dictionary.set("reportingId", *reportingId);
    }
    return dictionary;
}

std::vector<std::uint8_t> PlayParameters::propertyListEncoded() const {
    return propertyListDictionary().binaryEncoded();
}

PlayParameters PlayParameters::decode(const PropertyListDictionary& dictionary) {
    PlayParameters parameters;
    parameters.id = requiredText(dictionary, "id");
    parameters.kind = requiredText(dictionary, "kind");
    parameters.isLibrary = lenientValue<bool>(dictionary, "isLibrary");
    parameters.reporting = lenientValue<bool>(dictionary, "reporting");
    parameters.catalogId = lenientValue<std::string>(dictionary, "catalogId");
    parameters.purchasedId = lenientValue<std::string>(dictionary, "purchasedId");
    parameters.reportingId = lenientValue<std::string>(dictionary, "reportingId");
    return parameters;
}

PlayParameters PlayParameters::decodeJSON(std::string_view json) {
    return Foundation::decodeJSON(json, [](const Foundation::JSONValue& root) {
        PlayParameters parameters;
        parameters.id = root.requiredString("id");
        parameters.kind = root.requiredString("kind");
        const auto readBoolean = [](const Foundation::JSONValue& value) { return value.boolean(); };
        const auto readString = [](const Foundation::JSONValue& value) { return value.string(); };
        parameters.isLibrary = lenientJSONValue<bool>(root, "isLibrary", readBoolean);
        parameters.reporting = lenientJSONValue<bool>(root, "reporting", readBoolean);
        parameters.catalogId = lenientJSONValue<std::string>(root, "catalogId", readString);
        parameters.purchasedId = lenientJSONValue<std::string>(root, "purchasedId", readString);
        parameters.reportingId = lenientJSONValue<std::string>(root, "reportingId", readString);
        return parameters;
    });
}

} // namespace MusicKit
