#include "DemoService/FeedbackMailbox.h"

#include <httplib.h>

namespace DemoService {

void FeedbackMailbox::answerErrorCode(std::int64_t errorCode) {
    const std::string message = errorCode == 0 ? "OK" : "The demo mailbox refuses this mail.";
    answerWith(errorCode == 0 ? 200 : 422,
               R"({"ErrorCode":)" + std::to_string(errorCode) + R"(,"Message":")" + message + R"("})",
               "application/json");
}

void FeedbackMailbox::answerWith(int status, std::string body, std::string contentType) {
    const std::lock_guard lock(mutex_);
    answer_ = Answer{status, std::move(body), std::move(contentType)};
}

std::vector<FeedbackMailbox::Mail> FeedbackMailbox::mails() const {
    const std::lock_guard lock(mutex_);
    return mails_;
}

void FeedbackMailbox::registerRoute(httplib::Server& server) {
    server.Post("/email", [this](const httplib::Request& request, httplib::Response& response) {
        const std::lock_guard lock(mutex_);
        mails_.push_back(Mail{request.get_header_value("X-Postmark-Server-Token"),
                              request.get_header_value("Accept"), request.get_header_value("Content-Type"),
                              request.body});
        response.status = answer_.status;
        response.set_content(answer_.body, answer_.contentType);
    });
}

} // namespace DemoService
