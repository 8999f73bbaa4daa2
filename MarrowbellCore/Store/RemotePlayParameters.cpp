#include "MarrowbellCore/RemotePlayParameters.h"

#include <Foundation/DecodingError.h>
#include <Foundation/JSONDecoding.h>
#include <Foundation/JSONText.h>

namespace MarrowbellCore {
namespace {

using Foundation::DecodingError;
using Foundation::PropertyListDictionary;

template <class T>
const T* typedValue(const PropertyListDictionary& dictionary, const char* key, const char* kindName) {
    const auto* value = dictionary.find(key);
    if (!value) {
        return nullptr;
    }
    const auto* typed = std::get_if<T>(value);
    if (!typed) {
        throw DecodingError(DecodingError::Kind::typeMismatch, {key},
                            std::string("Expected to decode ") + kindName +
                                " but found another kind of value.");
    }
    return typed;
}

std::string requiredText(const PropertyListDictionary& dictionary, const char* key) {
    const auto* text = typedValue<std::string>(dictionary, key, "a string");
    if (!text) {
        throw DecodingError(DecodingError::Kind::keyNotFound, {key},
                            std::string("No value associated with key \"") + key + "\".");
    }
    return *text;
}

template <class T>
std::optional<T> optionalValue(const PropertyListDictionary& dictionary, const char* key,
                               const char* kindName) {
    if (const auto* typed = typedValue<T>(dictionary, key, kindName)) {
        return *typed;
    }
    return std::nullopt;
}

void appendMember(std::string& json, const char* key, const std::string& value) {
    json += ',';
    json += Foundation::jsonQuoted(key);
    json += ':';
    json += Foundation::jsonQuoted(value);
}

void appendMember(std::string& json, const char* key, bool value) {
    json += ',';
    json += Foundation::jsonQuoted(key);
    json += value ? ":true" : ":false";
}

} // namespace

RemotePlayParameters RemotePlayParameters::decode(const Foundation::JSONValue& object) {
    RemotePlayParameters parameters;
    parameters.id = object.requiredString("id");
    parameters.kind = object.requiredString("kind");
    parameters.isLibrary = object.optionalBoolean("isLibrary");
    parameters.reporting = object.optionalBoolean("reporting");
    parameters.catalogId = object.optionalString("catalogId");
    parameters.purchasedId = object.optionalString("purchasedId");
    parameters.reportingId = object.optionalString("reportingId");
    return parameters;
}

RemotePlayParameters RemotePlayParameters::decode(const PropertyListDictionary& dictionary) {
    RemotePlayParameters parameters;
    parameters.id = requiredText(dictionary, "id");
    parameters.kind = requiredText(dictionary, "kind");
    parameters.isLibrary = optionalValue<bool>(dictionary, "isLibrary", "a boolean");
    parameters.reporting = optionalValue<bool>(dictionary, "reporting", "a boolean");
    parameters.catalogId = optionalValue<std::string>(dictionary, "catalogId", "a string");
    parameters.purchasedId = optionalValue<std::string>(dictionary, "purchasedId", "a string");
    parameters.reportingId = optionalValue<std::string>(dictionary, "reportingId", "a string");
    return parameters;
}

RemotePlayParameters RemotePlayParameters::decodeJSON(std::string_view json) {
    return Foundation::decodeJSON(json, [](const Foundation::JSONValue& root) { return decode(root); });
}

std::string RemotePlayParameters::encodedJSON() const {
    std::string json = "{\"id\":" + Foundation::jsonQuoted(id) + ",\"kind\":" + Foundation::jsonQuoted(kind);
    if (isLibrary) {
        appendMember(json, "isLibrary", *isLibrary);
    }
    if (reporting) {
        appendMember(json, "reporting", *reporting);
    }
    if (catalogId) {
        appendMember(json, "catalogId", *catalogId);
    }
    if (purchasedId) {
        appendMember(json, "purchasedId", *purchasedId);
    }
    if (reportingId) {
        appendMember(json, "reportingId", *reportingId);
    }
    return json + '}';
}

} // namespace MarrowbellCore
