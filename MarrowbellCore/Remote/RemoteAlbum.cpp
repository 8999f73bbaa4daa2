#include "RemoteAlbum.h"

#include "JSONObjectWriter.h"
#include "LibraryResourceCoding.h"

#include <Foundation/JSONDecoding.h>

namespace MarrowbellCore {
namespace {

std::string text(const Foundation::JSONValue& value) {
    return value.string();
}

} // namespace

RemoteAlbum RemoteAlbum::decode(const Foundation::JSONValue& object) {
    return decodeLibraryResource<RemoteAlbum>(object);
}

std::string RemoteAlbum::encodedJSON() const {
    return encodedLibraryResource(*this);
}

RemoteAlbum::Attributes RemoteAlbum::Attributes::decode(const Foundation::JSONValue& object) {
    Attributes attributes;
    attributes.name = object.requiredString(stringValue(CodingKeys::name));
    attributes.artistName = object.optionalString(stringValue(CodingKeys::artistName));
    attributes.genreNames = object.requiredArray(stringValue(CodingKeys::genreNames), text);
    attributes.dateAdded = object.optionalString(stringValue(CodingKeys::dateAdded));
    attributes.releaseDate = object.optionalString(stringValue(CodingKeys::releaseDate));
    attributes.artwork = object.optionalObject(stringValue(CodingKeys::artwork), &RemoteArtwork::decode);
    attributes.playParams =
        object.optionalObject(stringValue(CodingKeys::playParams), &PlayParameters::decode);
    return attributes;
}

std::string RemoteAlbum::Attributes::encodedJSON() const {
    JSONObjectWriter writer;
    writer.write(CodingKeys::name, name);
    writer.write(CodingKeys::artistName, artistName);
    writer.write(CodingKeys::genreNames, genreNames);
    writer.write(CodingKeys::dateAdded, dateAdded);
    writer.write(CodingKeys::releaseDate, releaseDate);
    writer.write(CodingKeys::artwork, artwork);
    writer.write(CodingKeys::playParams, playParams);
    return std::move(writer).finished();
}

RemoteAlbum::Attributes::PlayParameters
RemoteAlbum::Attributes::PlayParameters::decode(const Foundation::JSONValue& object) {
    PlayParameters parameters;
    parameters.id = object.requiredString(stringValue(CodingKeys::id));
    parameters.kind = object.requiredString(stringValue(CodingKeys::kind));
    parameters.isLibrary = object.optionalBoolean(stringValue(CodingKeys::isLibrary));
    parameters.globalId = object.optionalString(stringValue(CodingKeys::globalId));
    parameters.versionHash = object.optionalString(stringValue(CodingKeys::versionHash));
    return parameters;
}

std::string RemoteAlbum::Attributes::PlayParameters::encodedJSON() const {
    JSONObjectWriter writer;
    writer.write(CodingKeys::id, id);
    writer.write(CodingKeys::kind, kind);
    writer.write(CodingKeys::isLibrary, isLibrary);
    writer.write(CodingKeys::globalId, globalId);
    writer.write(CodingKeys::versionHash, versionHash);
    return std::move(writer).finished();
}

} // namespace MarrowbellCore
