#include "RemotePlaylist.h"

#include "JSONObjectWriter.h"

#include <Foundation/JSONDecoding.h>

namespace MarrowbellCore {

RemotePlaylist RemotePlaylist::decode(const Foundation::JSONValue& object) {
    RemotePlaylist playlist;
    playlist.id = object.requiredString(stringValue(CodingKeys::id));
    playlist.type = object.requiredString(stringValue(CodingKeys::type));
    playlist.href = object.requiredString(stringValue(CodingKeys::href));
    playlist.attributes = object.requiredObject(stringValue(CodingKeys::attributes), &Attributes::decode);
    return playlist;
}

std::string RemotePlaylist::encodedJSON() const {
    JSONObjectWriter writer;
    writer.write(CodingKeys::id, id);
    writer.write(CodingKeys::type, type);
    writer.write(CodingKeys::href, href);
    writer.write(CodingKeys::attributes, attributes);
    return std::move(writer).finished();
}

RemotePlaylist::Attributes RemotePlaylist::Attributes::decode(const Foundation::JSONValue& object) {
    Attributes attributes;
    attributes.name = object.optionalString(stringValue(CodingKeys::name));
    attributes.canEdit = object.optionalBoolean(stringValue(CodingKeys::canEdit));
    attributes.isPublic = object.optionalBoolean(stringValue(CodingKeys::isPublic));
    attributes.hasCatalog = object.optionalBoolean(stringValue(CodingKeys::hasCatalog));
    attributes.dateAdded = object.optionalString(stringValue(CodingKeys::dateAdded));
    attributes.artwork = object.optionalObject(stringValue(CodingKeys::artwork), &RemoteArtwork::decode);
    attributes.playParams =
        object.optionalObject(stringValue(CodingKeys::playParams), &PlayParameters::decode);
    return attributes;
}

std::string RemotePlaylist::Attributes::encodedJSON() const {
    JSONObjectWriter writer;
    writer.write(CodingKeys::name, name);
    writer.write(CodingKeys::canEdit, canEdit);
    writer.write(CodingKeys::isPublic, isPublic);
    writer.write(CodingKeys::hasCatalog, hasCatalog);
    writer.write(CodingKeys::dateAdded, dateAdded);
    writer.write(CodingKeys::artwork, artwork);
    writer.write(CodingKeys::playParams, playParams);
    return std::move(writer).finished();
}

} // namespace MarrowbellCore
