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

template <class Source> std::optional<RemotePlayParameters> asRemotePlayParameters(const Source& source) {
    return decodeAs<RemotePlayParameters>(source, "Failed to decode RemotePlayParameters: %@");
}

} // namespace

Decoded decode(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) {
        return {};
    }
    const auto parsed = parse(bytes);
    auto playParameters = asPlayParameters(parsed);
    return {std::move(playParameters), asRemotePlayParameters(parsed)};
}

std::optional<MusicKit::PlayParameters>
decodePlayParameters(const std::optional<std::vector<std::uint8_t>>& bytes) {
    if (!bytes || bytes->empty()) {
        return std::nullopt;
    }
    return asPlayParameters(parse(*bytes));
}

std::optional<RemotePlayParameters>
decodeRemotePlayParameters(const std::optional<std::vector<std::uint8_t>>& bytes) {
    if (!bytes || bytes->empty()) {
        return std::nullopt;
    }
    return asRemotePlayParameters(parse(*bytes));
}

std::optional<std::vector<std::uint8_t>> encode(const MusicKit::PlayParameters& parameters) {
    return encode(parameters.propertyListDictionary());
}

std::optional<RemotePlayParameters>
decodeRemotePlayParameters(const Foundation::PropertyListDictionary& dictionary) {
    return asRemotePlayParameters(dictionary);
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
