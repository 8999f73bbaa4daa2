#pragma once

namespace TamselUIKit {

/// The kit's version, for the feedback mail and the about box.
const char* version();

} // namespace TamselUIKit
