#pragma once

#include <QString>
#include <cstdint>
#include <stdexcept>
#include <stop_token>

namespace TamselUIKit {

/// The mail service refused the message: its reply carried this non-zero "ErrorCode".
class SendResponse : public std::runtime_error {
public:
    explicit SendResponse(std::int64_t errorCode);

    std::int64_t errorCode() const { return errorCode_; }

private:
    std::int64_t errorCode_;
};

/// The mail request got no complete answer: no connection, a time-out, a failed TLS check.
class FeedbackTransportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// Mails one feedback message through the transactional e-mail service's "/email" endpoint. Keeps no state
/// between calls; several calls may run at once on different threads.
class FeedbackSender {
public:
    /// The e-mail service used until setBaseURL() names another.
    static constexpr const char* defaultBaseURL = "https://api.postmarkapp.com";

    /// Scheme, host and optional port of the e-mail service ("http://127.0.0.1:8080"); a trailing slash is
    /// dropped. Process-wide; any thread; later calls of send() use it.
    static void setBaseURL(const QString& baseURL);
    static QString baseURL();

    /// Posts one mail from and to `email`: subject `productName` + " Feedback"; body `message`, preceded by
    /// `name` + " wrote:" and an empty line when `name` is not empty; a reply-to address only when `replyTo`
    /// is not empty; `logs` attached as "logs.txt" only when not empty. `token` is the service's server
    /// token.
    ///
    /// Blocks until the service answers (at most 60 s); call it from a worker thread. Returns when the
    /// reply's "ErrorCode" is 0, whatever the HTTP status. Throws SendResponse for a non-zero code,
    /// Foundation::DecodingError when the reply is not a JSON object with an integer "ErrorCode",
    /// FeedbackTransportError when no complete answer arrived, Foundation::CancellationError when `stopToken`
    /// asks to stop.
    static void send(const QString& token, const QString& email, const QString& name, const QString& replyTo,
                     const QString& productName, const QString& message, const QString& logs,
                     std::stop_token stopToken = {});
};

} // namespace TamselUIKit
