#pragma once

#include <string>
#include <string_view>

namespace Foundation {

/// `text` as a JSON string literal, quotes included, with the characters JSON requires escaped.
std::string jsonQuoted(std::string_view text);

} // namespace Foundation
