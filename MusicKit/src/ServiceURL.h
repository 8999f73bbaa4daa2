#pragma once

#include "MusicKit/ServiceConfiguration.h"

#include <Foundation/URL.h>
#include <string>
#include <string_view>

namespace MusicKit {

/// Every byte but the unreserved characters (letters, digits, "-", ".", "_", "~") as "%XX", so that
/// the text stands for itself as one path segment or one query value.
std::string percentEncoded(std::string_view text);

/// The configuration's API base followed by `pathAndQuery`. Throws ServiceConfigurationError when
/// the API base does not form a URL.
Foundation::URL serviceURL(const ServiceConfiguration& configuration, std::string_view pathAndQuery);

} // namespace MusicKit
