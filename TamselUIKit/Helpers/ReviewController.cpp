#include "TamselUIKit/ReviewController.h"

namespace TamselUIKit {

void ReviewController::yieldActivationToStoreAgent() {}

} // namespace TamselUIKit
