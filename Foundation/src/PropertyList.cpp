#include "Foundation/PropertyList.h"

#include <cstdlib>
#include <memory>
#include <plist/plist.h>

namespace Foundation {
namespace {

struct PlistDeleter {
    void operator()(plist_t node) const { plist_free(node); }
};
using PlistOwner = std::unique_ptr<void, PlistDeleter>;

plist_t makeNode(const PropertyListValue& value) {
    struct Visitor {
        plist_t operator()(const PropertyListUnsupported&) const { return nullptr; }
        plist_t operator()(const std::string& text) const { return plist_new_string(text.c_str()); }
        plist_t operator()(bool flag) const { return plist_new_bool(flag ? 1 : 0); }
        plist_t operator()(std::int64_t number) const {
            return plist_new_uint(static_cast<std::uint64_t>(number));
        }
        plist_t operator()(double number) const { return plist_new_real(number); }
    };
    return std::visit(Visitor{}, value);
}

std::string stringValue(plist_t node) {
    char* text = nullptr;
    plist_get_string_val(node, &text);
    std::unique_ptr<char, decltype(&std::free)> owner(text, &std::free);
    return text ? std::string(text) : std::string();
}

PropertyListValue readValue(plist_t node) {
    switch (plist_get_node_type(node)) {
    case PLIST_STRING:
        return stringValue(node);
    case PLIST_BOOLEAN: {
        std::uint8_t flag = 0;
        plist_get_bool_val(node, &flag);
        return flag != 0;
    }
    case PLIST_UINT: {
        std::uint64_t number = 0;
        plist_get_uint_val(node, &number);
        return static_cast<std::int64_t>(number);
    }
    case PLIST_REAL: {
        double number = 0;
        plist_get_real_val(node, &number);
        return number;
    }
    default:
        return PropertyListUnsupported{};
    }
}

} // namespace

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
    PlistOwner root(plist_new_dict());
    for (const auto& [key, value] : entries_) {
        if (plist_t node = makeNode(value)) {
            plist_dict_set_item(root.get(), key.c_str(), node);
        }
    }
    char* bytes = nullptr;
    std::uint32_t length = 0;
    plist_to_bin(root.get(), &bytes, &length);
    if (!bytes) {
        throw PropertyListError("The property list could not be written.");
    }
    std::vector<std::uint8_t> result(bytes, bytes + length);
    plist_to_bin_free(bytes);
    return result;
}

PropertyListDictionary PropertyListDictionary::decodeBinary(std::span<const std::uint8_t> bytes) {
    plist_t parsed = nullptr;
    if (!bytes.empty()) {
        plist_from_bin(reinterpret_cast<const char*>(bytes.data()), static_cast<std::uint32_t>(bytes.size()),
                       &parsed);
    }
    PlistOwner root(parsed);
    if (!root) {
        throw PropertyListError("The data couldn't be read because it isn't in the correct format.");
    }
    if (plist_get_node_type(root.get()) != PLIST_DICT) {
        throw PropertyListError("Expected to decode a dictionary but found another kind of property list.");
    }
    PropertyListDictionary dictionary;
    plist_dict_iter iterator = nullptr;
    plist_dict_new_iter(root.get(), &iterator);
    std::unique_ptr<void, decltype(&std::free)> iteratorOwner(iterator, &std::free);
    while (true) {
        char* key = nullptr;
        plist_t value = nullptr;
        plist_dict_next_item(root.get(), iterator, &key, &value);
        if (!value) {
            std::free(key);
            break;
        }
        std::unique_ptr<char, decltype(&std::free)> keyOwner(key, &std::free);
        dictionary.entries_.emplace_back(key ? std::string(key) : std::string(), readValue(value));
    }
    return dictionary;
}

} // namespace Foundation
