#include "StoredPlayParameters.h"

#include "MarrowbellCore/Logging/Loggers.h"

#include <Foundation/DecodingError.h>
#include <exception>
#include <variant>

namespace MarrowbellCore::StoredPlayParameters {
namespace {

using Parsed = std::variant<Foundation::PropertyListDictionary, Foundation::PropertyListError>;

Parsed parse(std::span<const std::uint8_t> bytes) {
    try {
        return Foundation::PropertyListDictionary::decodeBinary(bytes);
    } catch (const Foundation::PropertyListError& error) {
        return error;
    }
}

template <class Model>
std::optional<Model> decodeAs(const Foundation::PropertyListDictionary& dictionary,
                              const char* failureMessage) {
    try {
        return Model::decode(dictionary);
    } catch (const std::exception& error) {
        Loggers::parameters().error(failureMessage, {error});
        return std::nullopt;
    }
}

template <class Model> std::optional<Model> decodeAs(const Parsed& parsed, const char* failureMessage) {
    if (const auto* error = std::get_if<Foundation::PropertyListError>(&parsed)) {
        Loggers::parameters().error(failureMessage, {*error});
        return std::nullopt;
    }
    return decodeAs<Model>(std::get<Foundation::PropertyListDictionary>(parsed), failureMessage);
}

std::optional<MusicKit::PlayParameters> asPlayParameters(const Parsed& parsed) {
    return decodeAs<MusicKit::PlayParameters>(parsed, "Failed to decode PlayParameters: %@");
}

std::optional<RemotePlayParameters> asRemotePlayParameters(const Parsed& parsed) {
    return decodeAs<RemotePlayParameters>(parsed, "Failed to decode RemotePlayParameters: %@");
}

} // namespace

std::optional<MusicKit::PlayParameters> decodePlayParameters(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) {
        return std::nullopt;
    }
    return asPlayParameters(parse(bytes));
}

std::optional<RemotePlayParameters> decodeRemotePlayParameters(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) {
        return std::nullopt;
    }
    return asRemotePlayParameters(parse(bytes));
}

bool decodesAsPlayParameters(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) {
        return false;
    }
    try {
        MusicKit::PlayParameters::decode(Foundation::PropertyListDictionary::decodeBinary(bytes));
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

std::optional<MusicKit::PlayParameters>
decodePlayParameters(const std::optional<std::vector<std::uint8_t>>& bytes) {
    return bytes ? decodePlayParameters(std::span(*bytes)) : std::nullopt;
}

std::optional<RemotePlayParameters>
decodeRemotePlayParameters(const std::optional<std::vector<std::uint8_t>>& bytes) {
    return bytes ? decodeRemotePlayParameters(std::span(*bytes)) : std::nullopt;
}

std::optional<std::vector<std::uint8_t>> encode(const MusicKit::PlayParameters& parameters) {
    return encode(parameters.propertyListDictionary());
}

std::optional<std::vector<std::uint8_t>> encode(const Foundation::PropertyListDictionary& dictionary) {
    try {
        return dictionary.binaryEncoded();
    } catch (const std::exception& error) {
        Loggers::parameters().error("Failed to encode PlayParameters: %@", {error});
        return std::nullopt;
    }
}

} // namespace MarrowbellCore::StoredPlayParameters
