#include "RemotePlaylist.h"

#include "JSONObjectWriter.h"
#include "LibraryResourceCoding.h"

#include <Foundation/JSONDecoding.h>

namespace MarrowbellCore {

RemotePlaylist RemotePlaylist::decode(const Foundation::JSONValue& object) {
    return decodeLibraryResource<RemotePlaylist>(object);
}

std::string RemotePlaylist::encodedJSON() const {
    return encodedLibraryResource(*this);
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
