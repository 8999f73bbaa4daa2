#include "Meta.h"

#include "JSONObjectWriter.h"

#include <Foundation/JSONDecoding.h>

namespace MarrowbellCore {

Meta Meta::decode(const Foundation::JSONValue& object) {
    return Meta{object.requiredInteger(stringValue(CodingKeys::total))};
}

std::string Meta::encodedJSON() const {
    JSONObjectWriter writer;
    writer.write(CodingKeys::total, total);
    return std::move(writer).finished();
}

} // namespace MarrowbellCore
