#pragma once

#include <QString>

namespace TamselUIKit {

/// The application's name as the kit shows it in its titles: the application's display name, else its
/// name, else the executable's name; empty when none is known. GUI thread.
QString appDisplayName();

} // namespace TamselUIKit
