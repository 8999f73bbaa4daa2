#include "TamselUIKit/TamselUIKitVersion.h"

namespace TamselUIKit {

const char* version() {
    return "1.0";
}

} // namespace TamselUIKit
