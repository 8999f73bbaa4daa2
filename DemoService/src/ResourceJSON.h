#pragma once

#include <string>
#include <string_view>

namespace DemoService {

/// Pieces of the service's resource JSON shared by the library and the catalog.

/// An artwork object whose template is served by the demo service at `baseURL`.
std::string artworkJSON(const std::string& baseURL, const std::string& id, int size);
/// {"id":…,"type":…,"href":path+id}
std::string resourceReference(std::string_view type, std::string_view path, const std::string& id);
/// The reference without its closing brace, for members to follow.
std::string resourceHead(std::string_view type, std::string_view path, const std::string& id);

} // namespace DemoService
