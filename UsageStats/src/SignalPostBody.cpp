#include "UsageStats/SignalPostBody.h"

#include "DecimalText.h"

#include <ctime>
#include <nlohmann/json.hpp>

namespace UsageStats {
namespace {

using Json = nlohmann::json;

constexpr double secondsFrom1970To2001 = 978307200.0;

std::string uploadDateText(WallTime time) {
    const auto seconds = std::chrono::floor<std::chrono::seconds>(time);
    const std::time_t since1970 = std::chrono::system_clock::to_time_t(seconds);
    std::tm utc{};
    gmtime_r(&since1970, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S+0000", &utc);
    return text;
}

double secondsSince2001(WallTime time) {
    return std::chrono::duration<double>(time.time_since_epoch()).count() - secondsFrom1970To2001;
}

WallTime timeFromSecondsSince2001(double seconds) {
    const std::chrono::duration<double> since1970(seconds + secondsFrom1970To2001);
    return WallTime(std::chrono::round<std::chrono::microseconds>(since1970));
}

Json encode(const SignalPostBody& signal, Json receivedAt) {
    Json object = {
        {"receivedAt", std::move(receivedAt)}, {"appID", signal.appID}, {"clientUser", signal.clientUser},
        {"sessionID", signal.sessionID},       {"type", signal.type},   {"payload", signal.payload},
        {"isTestMode", signal.isTestMode}};
    if (signal.floatValue) {
        object["floatValue"] = *signal.floatValue;
    }
    return object;
}

std::string dump(const Json& json) {
    // Replacing broken UTF-8 keeps one bad text from spoiling a whole batch.
    return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

SignalPostBody decodeFromCache(const Json& object) {
    SignalPostBody signal;
    signal.receivedAt = timeFromSecondsSince2001(object.at("receivedAt").get<double>());
    signal.appID = object.at("appID").get<std::string>();
    signal.clientUser = object.at("clientUser").get<std::string>();
    signal.sessionID = object.at("sessionID").get<std::string>();
    signal.type = object.at("type").get<std::string>();
    if (const auto found = object.find("floatValue"); found != object.end() && !found->is_null()) {
        signal.floatValue = found->get<double>();
    }
    signal.payload = object.at("payload").get<Parameters>();
    signal.isTestMode = object.at("isTestMode").get<std::string>();
    return signal;
}

} // namespace

std::string SignalPostBody::description() const {
    std::string text = "SignalPostBody(receivedAt: " + uploadDateText(receivedAt) + ", appID: " + appID +
                       ", clientUser: " + clientUser + ", sessionID: " + sessionID + ", type: " + type +
                       ", floatValue: " + (floatValue ? shortestDecimalText(*floatValue) : "nil") +
                       ", payload: [";
    const char* separator = "";
    for (const auto& [key, value] : payload) {
        text += separator + key + ": " + value;
        separator = ", ";
    }
    return text + "], isTestMode: " + isTestMode + ")";
}

std::string encodeSignalsForUpload(const std::vector<SignalPostBody>& signals) {
    Json array = Json::array();
    for (const auto& signal : signals) {
        array.push_back(encode(signal, uploadDateText(signal.receivedAt)));
    }
    return dump(array);
}

std::string encodeSignalsForCache(const std::vector<SignalPostBody>& signals) {
    Json array = Json::array();
    for (const auto& signal : signals) {
        array.push_back(encode(signal, secondsSince2001(signal.receivedAt)));
    }
    return dump(array);
}

std::vector<SignalPostBody> decodeSignalsFromCache(std::string_view json) {
    try {
        const Json array = Json::parse(json);
        if (!array.is_array()) {
            throw SignalDecodingError("the signal cache is not a JSON array");
        }
        std::vector<SignalPostBody> signals;
        signals.reserve(array.size());
        for (const auto& object : array) {
            signals.push_back(decodeFromCache(object));
        }
        return signals;
    } catch (const Json::exception& error) {
        throw SignalDecodingError(error.what());
    }
}

} // namespace UsageStats
