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

/// The value `read` finds, or nothing when it finds one of another kind.
template <class Read> auto lenientJSONValue(Read read) -> decltype(read()) {
    try {
        return read();
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

PlayParameters PlayParameters::decode(const Foundation::JSONValue& object) {
    PlayParameters parameters;
    parameters.id = object.requiredString("id");
    parameters.kind = object.requiredString("kind");
    parameters.isLibrary = lenientJSONValue([&] { return object.optionalBoolean("isLibrary"); });
    parameters.reporting = lenientJSONValue([&] { return object.optionalBoolean("reporting"); });
    parameters.catalogId = lenientJSONValue([&] { return object.optionalString("catalogId"); });
    parameters.purchasedId = lenientJSONValue([&] { return object.optionalString("purchasedId"); });
    parameters.reportingId = lenientJSONValue([&] { return object.optionalString("reportingId"); });
    return parameters;
}

PlayParameters PlayParameters::decodeJSON(std::string_view json) {
    return Foundation::decodeJSON(json, [](const Foundation::JSONValue& root) { return decode(root); });
}

} // namespace MusicKit
