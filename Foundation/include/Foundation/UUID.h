#pragma once

#include <string>

namespace Foundation {

/// A new random (version 4) UUID in its 36-character text form, upper-case like the platform's.
std::string makeUUIDString();

} // namespace Foundation
