#pragma once

#include "CodingKeys.h"
#include "JSONObjectWriter.h"
#include "Meta.h"

#include <Foundation/JSONDecoding.h>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace MarrowbellCore {

enum class RemotePageCodingKeys { next, data, meta };

template <> struct CodingKeyTexts<RemotePageCodingKeys> {
    static constexpr std::array<std::string_view, 3> texts{"next", "data", "meta"};
};

/// One page of a library listing: the envelope shared by the four resource kinds.
/// A page decodes completely or not at all: the first fault anywhere fails it.
template <class Resource> struct RemotePage {
    using CodingKeys = RemotePageCodingKeys;

    /// Present while more pages follow.
    std::optional<std::string> next;
    /// The page's resources in the order the service sent them; may be empty.
    std::vector<Resource> data;
    Meta meta;

    /// Decodes a response body. Throws Foundation::DecodingError.
    static RemotePage decode(std::string_view body) {
        return Foundation::decodeJSON(body, [](const Foundation::JSONValue& root) {
            RemotePage page;
            page.next = root.optionalString(stringValue(CodingKeys::next));
            page.data = root.requiredArray(stringValue(CodingKeys::data), &Resource::decode);
            page.meta = root.requiredObject(stringValue(CodingKeys::meta), &Meta::decode);
            return page;
        });
    }

    std::string encodedJSON() const {
        JSONObjectWriter writer;
        writer.write(CodingKeys::next, next);
        writer.write(CodingKeys::data, data);
        writer.write(CodingKeys::meta, meta);
        return std::move(writer).finished();
    }
};

} // namespace MarrowbellCore
