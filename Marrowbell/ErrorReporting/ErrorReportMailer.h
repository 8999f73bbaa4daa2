#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace Marrowbell::ErrorReporting {

/// Mails error reports on threads of its own, at most one per operation name for the life of the process.
/// Any thread. Mails still under way when the process ends are cut short.
class ErrorReportMailer {
public:
    static ErrorReportMailer& shared();

    ErrorReportMailer() = default;
    ~ErrorReportMailer();
    ErrorReportMailer(const ErrorReportMailer&) = delete;
    ErrorReportMailer& operator=(const ErrorReportMailer&) = delete;

    /// Starts mailing `text` unless a report for `name` was mailed (or started) before.
    void mailOnce(const std::string& name, std::string text);
    /// True when no mail is under way, waiting up to `timeout` for that.
    bool waitUntilIdle(std::chrono::milliseconds timeout);

private:
    void send(const std::string& text, const std::stop_token& stopToken);

    std::mutex mutex_;
    std::condition_variable idle_;
    std::set<std::string> mailedNames_;
    int mailsUnderWay_ = 0;
    std::vector<std::jthread> threads_;
};

} // namespace Marrowbell::ErrorReporting
