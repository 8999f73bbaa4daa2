#pragma once

namespace TamselUIKit {

/// Hands the application's activation to the system's store agent, so that it can ask for a review.
struct ReviewController {
    /// This desktop has no store agent, so there is no one to hand activation to: it does nothing.
    static void yieldActivationToStoreAgent();
};

} // namespace TamselUIKit
