#include "MarrowbellCore/Store/RemotePlayParameters.h"

#include "Remote/JSONObjectWriter.h"

#include <Foundation/DecodingError.h>
#include <Foundation/JSONDecoding.h>

namespace MarrowbellCore {
namespace {

enum class Keys { id, kind, isLibrary, reporting, catalogId, purchasedId, reportingId };

} // namespace

template <> struct CodingKeyTexts<Keys> {
    static constexpr std::array<std::string_view, 7> texts{
        "id", "kind", "isLibrary", "reporting", "catalogId", "purchasedId", "reportingId"};
};

namespace {

using Foundation::DecodingError;
using Foundation::PropertyListDictionary;

template <class T>
const T* typedValue(const PropertyListDictionary& dictionary, Keys key, const char* kindName) {
    const auto* value = dictionary.find(stringValue(key));
    if (!value) {
        return nullptr;
    }
    const auto* typed = std::get_if<T>(value);
    if (!typed) {
        throw DecodingError(DecodingError::Kind::typeMismatch, {std::string(stringValue(key))},
                            std::string("Expected to decode ") + kindName +
                                " but found another kind of value.");
    }
    return typed;
}

std::string requiredText(const PropertyListDictionary& dictionary, Keys key) {
    const auto* text = typedValue<std::string>(dictionary, key, "a string");
    if (!text) {
        const std::string name(stringValue(key));
        throw DecodingError(DecodingError::Kind::keyNotFound, {name},
                            "No value associated with key \"" + name + "\".");
    }
    return *text;
}

template <class T>
std::optional<T> optionalValue(const PropertyListDictionary& dictionary, Keys key, const char* kindName) {
    if (const auto* typed = typedValue<T>(dictionary, key, kindName)) {
        return *typed;
    }
    return std::nullopt;
}

} // namespace

RemotePlayParameters RemotePlayParameters::decode(const Foundation::JSONValue& object) {
    RemotePlayParameters parameters;
    parameters.id = object.requiredString(stringValue(Keys::id));
    parameters.kind = object.requiredString(stringValue(Keys::kind));
    parameters.isLibrary = object.optionalBoolean(stringValue(Keys::isLibrary));
    parameters.reporting = object.optionalBoolean(stringValue(Keys::reporting));
    parameters.catalogId = object.optionalString(stringValue(Keys::catalogId));
    parameters.purchasedId = object.optionalString(stringValue(Keys::purchasedId));
    parameters.reportingId = object.optionalString(stringValue(Keys::reportingId));
    return parameters;
}

RemotePlayParameters RemotePlayParameters::decode(const PropertyListDictionary& dictionary) {
    RemotePlayParameters parameters;
    parameters.id = requiredText(dictionary, Keys::id);
    parameters.kind = requiredText(dictionary, Keys::kind);
    parameters.isLibrary = optionalValue<bool>(dictionary, Keys::isLibrary, "a boolean");
    parameters.reporting = optionalValue<bool>(dictionary, Keys::reporting, "a boolean");
    parameters.catalogId = optionalValue<std::string>(dictionary, Keys::catalogId, "a string");
    parameters.purchasedId = optionalValue<std::string>(dictionary, Keys::purchasedId, "a string");
    parameters.reportingId = optionalValue<std::string>(dictionary, Keys::reportingId, "a string");
    return parameters;
}

RemotePlayParameters RemotePlayParameters::decodeJSON(std::string_view json) {
    return Foundation::decodeJSON(json, [](const Foundation::JSONValue& root) { return decode(root); });
}

std::string RemotePlayParameters::encodedJSON() const {
    JSONObjectWriter writer;
    writer.write(Keys::id, id);
    writer.write(Keys::kind, kind);
    writer.write(Keys::isLibrary, isLibrary);
    writer.write(Keys::reporting, reporting);
    writer.write(Keys::catalogId, catalogId);
    writer.write(Keys::purchasedId, purchasedId);
    writer.write(Keys::reportingId, reportingId);
    return std::move(writer).finished();
}

} // namespace MarrowbellCore
