#pragma once

#include "MusicKit/CatalogItems.h"

#include <stop_token>
#include <vector>

namespace MusicKit {

/// The user's personal recommendations, in the service's order.
struct MusicPersonalRecommendationsResponse {
    std::vector<MusicPersonalRecommendation> recommendations;
};

/// Asks the service of the current ServiceConfiguration for the user's personal recommendations,
/// through MusicDataRequest: the same authorization, errors and cancellation.
class MusicPersonalRecommendationsRequest {
public:
    /// Blocks until the answer is complete. Throws what MusicDataRequest::response throws, and
    /// Foundation::DecodingError when the answer is not a list of recommendations. Items of kinds
    /// this client does not play are left out.
    MusicPersonalRecommendationsResponse response(std::stop_token stopToken = {}) const;
};

} // namespace MusicKit
