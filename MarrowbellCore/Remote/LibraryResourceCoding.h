#pragma once

#include "CodingKeys.h"
#include "JSONObjectWriter.h"

#include <Foundation/JSONDecoding.h>
#include <string>

namespace MarrowbellCore {

/// The members every resource of a library listing shares: an id, a type, an href and attributes, all
/// required, and relationships where the resource has them. Throws Foundation::DecodingError.
template <class Resource> Resource decodeLibraryResource(const Foundation::JSONValue& object) {
    using Keys = typename Resource::CodingKeys;
    Resource resource;
    resource.id = object.requiredString(stringValue(Keys::id));
    resource.type = object.requiredString(stringValue(Keys::type));
    resource.href = object.requiredString(stringValue(Keys::href));
    resource.attributes = object.requiredObject(stringValue(Keys::attributes), &Resource::Attributes::decode);
    if constexpr (requires { resource.relationships; }) {
        resource.relationships =
            object.optionalObject(stringValue(Keys::relationships), &Resource::Relationships::decode);
    }
    return resource;
}

/// The JSON object decodeLibraryResource() reads, members in the same order.
template <class Resource> std::string encodedLibraryResource(const Resource& resource) {
    using Keys = typename Resource::CodingKeys;
    JSONObjectWriter writer;
    writer.write(Keys::id, resource.id);
    writer.write(Keys::type, resource.type);
    writer.write(Keys::href, resource.href);
    writer.write(Keys::attributes, resource.attributes);
    if constexpr (requires { resource.relationships; }) {
        writer.write(Keys::relationships, resource.relationships);
    }
    return std::move(writer).finished();
}

} // namespace MarrowbellCore
