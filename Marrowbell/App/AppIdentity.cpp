#include "App/AppIdentity.h"

namespace Marrowbell {

std::string_view appVersion() {
    return "0.1.0";
}

} // namespace Marrowbell
