#include "RemoteArtwork.h"

#include "JSONObjectWriter.h"

#include <Foundation/JSONDecoding.h>

namespace MarrowbellCore {

using Keys = RemoteArtwork::CodingKeys;

RemoteArtwork RemoteArtwork::decode(const Foundation::JSONValue& object) {
    RemoteArtwork artwork;
    artwork.width = object.optionalInteger(stringValue(Keys::width));
    artwork.height = object.optionalInteger(stringValue(Keys::height));
    artwork.url = object.requiredString(stringValue(Keys::url));
    return artwork;
}

std::string RemoteArtwork::encodedJSON() const {
    JSONObjectWriter writer;
    writer.write(Keys::width, width);
    writer.write(Keys::height, height);
    writer.write(Keys::url, url);
    return std::move(writer).finished();
}

} // namespace MarrowbellCore
