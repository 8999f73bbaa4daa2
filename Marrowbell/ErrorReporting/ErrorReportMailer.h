#pragma once

#include <chrono>
#include <condition_variable>
#include <list>
#include <mutex>
#include <string>
#include <thread>

namespace Marrowbell::ErrorReporting {

/// Mails error reports on threads of its own. Any thread. Mails still under way when the process ends are
/// cut short.
class ErrorReportMailer {
public:
    static ErrorReportMailer& shared();

    ErrorReportMailer() = default;
    ~ErrorReportMailer();
    ErrorReportMailer(const ErrorReportMailer&) = delete;
    ErrorReportMailer& operator=(const ErrorReportMailer&) = delete;

    /// Starts mailing `text`.
    void mail(std::string text);
    /// True when no mail is under way, waiting up to `timeout` for that.
    bool waitUntilIdle(std::chrono::milliseconds timeout);

private:
    void send(const std::string& text, const std::stop_token& stopToken);

    struct Mailing {
        std::jthread thread;
        bool finished = false;
    };

    std::mutex mutex_;
    std::condition_variable idle_;
    int mailsUnderWay_ = 0;
    std::list<Mailing> mailings_;
};

} // namespace Marrowbell::ErrorReporting
