#include "UsageStats/StoredSession.h"

#include <nlohmann/json.hpp>

namespace UsageStats {

using Json = nlohmann::json;

std::string encodeStoredSessions(const std::vector<StoredSession>& sessions) {
    Json array = Json::array();
    for (const auto& session : sessions) {
        const auto since1970 =
            std::chrono::duration_cast<std::chrono::seconds>(session.startedAt.time_since_epoch());
        array.push_back({{"st", since1970.count()}, {"dn", session.durationInSeconds}});
    }
    return array.dump();
}

std::optional<std::vector<StoredSession>> decodeStoredSessions(std::string_view json) {
    const Json array = Json::parse(json, nullptr, false);
    if (!array.is_array()) {
        return std::nullopt;
    }
    std::vector<StoredSession> sessions;
    for (const auto& object : array) {
        if (!object.is_object() || !object.contains("st") || !object.contains("dn") ||
            !object["st"].is_number() || !object["dn"].is_number_integer()) {
            return std::nullopt;
        }
        const std::chrono::duration<double> since1970(object["st"].get<double>());
        sessions.push_back({WallTime(std::chrono::duration_cast<WallTime::duration>(since1970)),
                            object["dn"].get<std::int64_t>()});
    }
    return sessions;
}

} // namespace UsageStats
