#pragma once

#include "UsageStats/Clock.h"
#include "UsageStats/Parameters.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace UsageStats {

/// One usage signal as it is uploaded and cached.
struct SignalPostBody {
    WallTime receivedAt;
    std::string appID;
    std::string clientUser; ///< the hashed user
    std::string sessionID;  ///< upper-case UUID text
    std::string type;
    std::optional<double> floatValue;
    Parameters payload;
    std::string isTestMode; ///< "true" or "false"

    bool operator==(const SignalPostBody&) const = default;

    /// A field-by-field rendering for log lines.
    std::string description() const;
};

class SignalDecodingError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// The upload body: a JSON array whose `receivedAt` members are texts such as "2025-01-31T08:15:00+0000".
std::string encodeSignalsForUpload(const std::vector<SignalPostBody>& signals);

/// The cache file content: a JSON array whose `receivedAt` members are seconds since
/// 2001-01-01 00:00:00 UTC.
std::string encodeSignalsForCache(const std::vector<SignalPostBody>& signals);

/// Reads the cache file content. Throws `SignalDecodingError` when it is not such an array.
std::vector<SignalPostBody> decodeSignalsFromCache(std::string_view json);

} // namespace UsageStats
