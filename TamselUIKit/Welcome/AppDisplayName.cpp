#include "TamselUIKit/AppDisplayName.h"

#include <QGuiApplication>

namespace TamselUIKit {

QString appDisplayName() {
    // Qt already falls back from the display name to the name, and from the name to the executable's.
    return QGuiApplication::applicationDisplayName();
}

} // namespace TamselUIKit
