#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace httplib {
class Server;
} // namespace httplib

namespace DemoService {

/// The transactional e-mail service's "/email" endpoint: keeps every mail posted to it and answers
/// {"ErrorCode":0} unless told otherwise. Any thread.
class FeedbackMailbox {
public:
    struct Mail {
        /// The "X-Postmark-Server-Token" header.
        std::string token;
        std::string accept;
        std::string contentType;
        /// The JSON body as it arrived.
        std::string body;
    };

    /// Answers later mails with this "ErrorCode": status 200 for 0, 422 otherwise.
    void answerErrorCode(std::int64_t errorCode);
    /// Answers later mails with exactly this status and body.
    void answerWith(int status, std::string body, std::string contentType);

    /// The mails posted so far, in arrival order.
    std::vector<Mail> mails() const;

    void registerRoute(httplib::Server& server);

private:
    struct Answer {
        int status = 200;
        std::string body = R"({"ErrorCode":0,"Message":"OK"})";
        std::string contentType = "application/json";
    };

    mutable std::mutex mutex_;
    std::vector<Mail> mails_;
    Answer answer_;
};

} // namespace DemoService
