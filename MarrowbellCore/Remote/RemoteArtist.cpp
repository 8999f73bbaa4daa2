#include "RemoteArtist.h"

#include "JSONObjectWriter.h"
#include "LibraryResourceCoding.h"

#include <Foundation/JSONDecoding.h>

namespace MarrowbellCore {
namespace {

using Catalog = RemoteArtist::Relationships::Catalog;
using CatalogArtist = Catalog::Artist;

std::string text(const Foundation::JSONValue& value) {
    return value.string();
}

} // namespace

RemoteArtist RemoteArtist::decode(const Foundation::JSONValue& object) {
    return decodeLibraryResource<RemoteArtist>(object);
}

std::string RemoteArtist::encodedJSON() const {
    return encodedLibraryResource(*this);
}

RemoteArtist::Attributes RemoteArtist::Attributes::decode(const Foundation::JSONValue& object) {
    return Attributes{object.optionalString(stringValue(CodingKeys::name))};
}

std::string RemoteArtist::Attributes::encodedJSON() const {
    JSONObjectWriter writer;
    writer.write(CodingKeys::name, name);
    return std::move(writer).finished();
}

RemoteArtist::Relationships RemoteArtist::Relationships::decode(const Foundation::JSONValue& object) {
    return Relationships{object.optionalObject(stringValue(CodingKeys::catalog), &Catalog::decode)};
}

std::string RemoteArtist::Relationships::encodedJSON() const {
    JSONObjectWriter writer;
    writer.write(CodingKeys::catalog, catalog);
    return std::move(writer).finished();
}

Catalog Catalog::decode(const Foundation::JSONValue& object) {
    Catalog catalog;
    catalog.href = object.optionalString(stringValue(CodingKeys::href));
    catalog.data = object.optionalArray(stringValue(CodingKeys::data), &Artist::decode);
    return catalog;
}

std::string Catalog::encodedJSON() const {
    JSONObjectWriter writer;
    writer.write(CodingKeys::href, href);
    writer.write(CodingKeys::data, data);
    return std::move(writer).finished();
}

CatalogArtist CatalogArtist::decode(const Foundation::JSONValue& object) {
    CatalogArtist artist;
    artist.id = object.optionalString(stringValue(CodingKeys::id));
    artist.type = object.optionalString(stringValue(CodingKeys::type));
    artist.href = object.optionalString(stringValue(CodingKeys::href));
    artist.attributes = object.optionalObject(stringValue(CodingKeys::attributes), &Attributes::decode);
    return artist;
}

std::string CatalogArtist::encodedJSON() const {
    JSONObjectWriter writer;
    writer.write(CodingKeys::id, id);
    writer.write(CodingKeys::type, type);
    writer.write(CodingKeys::href, href);
    writer.write(CodingKeys::attributes, attributes);
    return std::move(writer).finished();
}

CatalogArtist::Attributes CatalogArtist::Attributes::decode(const Foundation::JSONValue& object) {
    Attributes attributes;
    attributes.name = object.optionalString(stringValue(CodingKeys::name));
    attributes.genreNames = object.optionalArray(stringValue(CodingKeys::genreNames), text);
    attributes.artwork = object.optionalObject(stringValue(CodingKeys::artwork), &RemoteArtwork::decode);
    return attributes;
}

std::string CatalogArtist::Attributes::encodedJSON() const {
    JSONObjectWriter writer;
    writer.write(CodingKeys::name, name);
    writer.write(CodingKeys::genreNames, genreNames);
    writer.write(CodingKeys::artwork, artwork);
    return std::move(writer).finished();
}

} // namespace MarrowbellCore
