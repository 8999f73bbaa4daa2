#include "Foundation/PropertyList.h"

#include "BinaryPropertyList.h"

namespace Foundation {

void PropertyListDictionary::set(std::string key, PropertyListValue value) {
    for (auto& entry : entries_) {
        if (entry.first == key) {
            entry.second = std::move(value);
            return;
        }
    }
    entries_.emplace_back(std::move(key), std::move(value));
}

const PropertyListValue* PropertyListDictionary::find(std::string_view key) const {
    for (const auto& entry : entries_) {
        if (entry.first == key) {
            return &entry.second;
        }
    }
    return nullptr;
}

std::vector<std::uint8_t> PropertyListDictionary::binaryEncoded() const {
    return BinaryPropertyList::encode(entries_);
}

PropertyListDictionary PropertyListDictionary::decodeBinary(std::span<const std::uint8_t> bytes) {
    PropertyListDictionary dictionary;
    dictionary.entries_ = BinaryPropertyList::decode(bytes);
    return dictionary;
}

} // namespace Foundation
