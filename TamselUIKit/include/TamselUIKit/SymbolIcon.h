#pragma once

#include <QIcon>
#include <QString>

namespace TamselUIKit {

/// The icon-theme icon standing in for a system symbol name such as "paperplane" or "doc"; the theme icon of
/// that very name when no stand-in is known; a null icon when the theme has neither. GUI thread.
QIcon symbolIcon(const QString& symbolName);

} // namespace TamselUIKit
