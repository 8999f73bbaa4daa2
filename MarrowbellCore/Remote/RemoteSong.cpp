#include "RemoteSong.h"

#include "JSONObjectWriter.h"
#include "LibraryResourceCoding.h"

#include <Foundation/JSONDecoding.h>

namespace MarrowbellCore {
namespace {

using Resource = RemoteSong::Relationships::Resource;

std::string text(const Foundation::JSONValue& value) {
    return value.string();
}

RemotePlayParameters playParameters(const Foundation::JSONValue& object) {
    return RemotePlayParameters::decode(object);
}

} // namespace

RemoteSong RemoteSong::decode(const Foundation::JSONValue& object) {
    return decodeLibraryResource<RemoteSong>(object);
}

std::string RemoteSong::encodedJSON() const {
    return encodedLibraryResource(*this);
}

RemoteSong::Attributes RemoteSong::Attributes::decode(const Foundation::JSONValue& object) {
    Attributes attributes;
    attributes.albumName = object.optionalString(stringValue(CodingKeys::albumName));
    attributes.genreNames = object.requiredArray(stringValue(CodingKeys::genreNames), text);
    attributes.trackNumber = object.optionalInteger(stringValue(CodingKeys::trackNumber));
    attributes.hasLyrics = object.optionalBoolean(stringValue(CodingKeys::hasLyrics));
    attributes.releaseDate = object.optionalString(stringValue(CodingKeys::releaseDate));
    attributes.durationInMillis = object.optionalInteger(stringValue(CodingKeys::durationInMillis));
    attributes.name = object.requiredString(stringValue(CodingKeys::name));
    attributes.artistName = object.optionalString(stringValue(CodingKeys::artistName));
    attributes.artwork = object.optionalObject(stringValue(CodingKeys::artwork), &RemoteArtwork::decode);
    attributes.playParams = object.optionalObject(stringValue(CodingKeys::playParams), playParameters);
    return attributes;
}

std::string RemoteSong::Attributes::encodedJSON() const {
    JSONObjectWriter writer;
    writer.write(CodingKeys::albumName, albumName);
    writer.write(CodingKeys::genreNames, genreNames);
    writer.write(CodingKeys::trackNumber, trackNumber);
    writer.write(CodingKeys::hasLyrics, hasLyrics);
    writer.write(CodingKeys::releaseDate, releaseDate);
    writer.write(CodingKeys::durationInMillis, durationInMillis);
    writer.write(CodingKeys::name, name);
    writer.write(CodingKeys::artistName, artistName);
    writer.write(CodingKeys::artwork, artwork);
    writer.write(CodingKeys::playParams, playParams);
    return std::move(writer).finished();
}

RemoteSong::Relationships RemoteSong::Relationships::decode(const Foundation::JSONValue& object) {
    Relationships relationships;
    relationships.artists = object.optionalObject(stringValue(CodingKeys::artists), &Resource::decode);
    relationships.albums = object.optionalObject(stringValue(CodingKeys::albums), &Resource::decode);
    return relationships;
}

std::string RemoteSong::Relationships::encodedJSON() const {
    JSONObjectWriter writer;
    writer.write(CodingKeys::artists, artists);
    writer.write(CodingKeys::albums, albums);
    return std::move(writer).finished();
}

Resource Resource::decode(const Foundation::JSONValue& object) {
    return Resource{object.optionalArray(stringValue(CodingKeys::data), &ResourceData::decode)};
}

std::string Resource::encodedJSON() const {
    JSONObjectWriter writer;
    writer.write(CodingKeys::data, data);
    return std::move(writer).finished();
}

Resource::ResourceData Resource::ResourceData::decode(const Foundation::JSONValue& object) {
    return ResourceData{object.optionalString(stringValue(CodingKeys::id))};
}

std::string Resource::ResourceData::encodedJSON() const {
    JSONObjectWriter writer;
    writer.write(CodingKeys::id, id);
    return std::move(writer).finished();
}

} // namespace MarrowbellCore
