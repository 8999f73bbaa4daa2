#include "DemoService/UsageSignalInbox.h"

#include <Foundation/JSONDecoding.h>
#include <httplib.h>

namespace DemoService {
namespace {

std::vector<UsageSignalInbox::Signal> decodeBatch(const std::string& body, const std::string& namespaceName) {
    simdjson::dom::parser parser;
    const simdjson::dom::element root = Foundation::parseJSON(parser, body);
    const Foundation::JSONPath rootPath;
    if (!root.is_array()) {
        Foundation::JSONValue(root, rootPath)
            .fail(Foundation::DecodingError::Kind::typeMismatch, "Expected to decode an array.");
    }
    const simdjson::dom::array records = root.get_array().value_unsafe();
    std::vector<UsageSignalInbox::Signal> batch;
    std::size_t index = 0;
    for (simdjson::dom::element item : records) {
        const Foundation::JSONPath itemPath{&rootPath, {}, index++, true};
        const Foundation::JSONValue record(item, itemPath);
        batch.push_back({namespaceName, record.requiredString("appID"), record.requiredString("type"),
                         record.requiredString("clientUser"), record.requiredString("sessionID")});
    }
    return batch;
}

} // namespace

std::vector<UsageSignalInbox::Signal> UsageSignalInbox::signals() const {
    const std::lock_guard lock(mutex_);
    return {signals_.begin(), signals_.end()};
}

void UsageSignalInbox::receive(std::vector<Signal> batch) {
    const std::lock_guard lock(mutex_);
    for (auto& signal : batch) {
        signals_.push_back(std::move(signal));
    }
    while (signals_.size() > capacity) {
        signals_.pop_front();
    }
}

void UsageSignalInbox::registerRoute(httplib::Server& server) {
    server.Post(R"(/v2/(?:namespace/([^/]+)/)?)",
                [this](const httplib::Request& request, httplib::Response& response) {
                    try {
                        receive(decodeBatch(request.body, request.matches[1].str()));
                        response.set_content("{}", "application/json");
                    } catch (const Foundation::DecodingError& error) {
                        response.status = 400;
                        response.set_content(error.what(), "text/plain");
                    }
                });
}

} // namespace DemoService
