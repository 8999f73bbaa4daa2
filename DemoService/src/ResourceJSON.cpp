#include "ResourceJSON.h"

#include <Foundation/JSONText.h>

namespace DemoService {

using Foundation::jsonQuoted;

std::string artworkJSON(const std::string& baseURL, const std::string& id, int size) {
    const std::string dimension = std::to_string(size);
    return "{\"width\":" + dimension + ",\"height\":" + dimension +
           ",\"url\":" + jsonQuoted(baseURL + "/artwork/" + id + "/{w}x{h}.png") + "}";
}

std::string resourceReference(std::string_view type, std::string_view path, const std::string& id) {
    return "{\"id\":" + jsonQuoted(id) + ",\"type\":\"" + std::string(type) +
           "\",\"href\":" + jsonQuoted(std::string(path) + id) + "}";
}

std::string resourceHead(std::string_view type, std::string_view path, const std::string& id) {
    auto head = resourceReference(type, path, id);
    head.pop_back();
    return head;
}

} // namespace DemoService
