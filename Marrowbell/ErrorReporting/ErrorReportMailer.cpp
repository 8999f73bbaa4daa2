#include "ErrorReporting/ErrorReportMailer.h"

#include "App/AppIdentity.h"
#include "ErrorReporting/SupportMail.h"

#include <QString>
#include <TamselUIKit/FeedbackSender.h>

namespace Marrowbell::ErrorReporting {
namespace {

QString qString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

ErrorReportMailer& ErrorReportMailer::shared() {
    static ErrorReportMailer mailer;
    return mailer;
}

ErrorReportMailer::~ErrorReportMailer() {
    for (Mailing& mailing : mailings_) {
        mailing.thread.request_stop();
    }
    // The jthreads join here; a stopped mail gives up within about a second.
}

// A list that fails to decode mails on every load, so the threads of sent mails are joined as new ones start.
void ErrorReportMailer::mail(std::string text) {
    const std::lock_guard lock(mutex_);
    mailings_.remove_if([](const Mailing& mailing) { return mailing.finished; });
    ++mailsUnderWay_;
    Mailing& mailing = mailings_.emplace_back();
    mailing.thread = std::jthread([this, &mailing, text = std::move(text)](const std::stop_token& stopToken) {
        send(text, stopToken);
        const std::lock_guard done(mutex_);
        mailing.finished = true;
        --mailsUnderWay_;
        idle_.notify_all();
    });
}

bool ErrorReportMailer::waitUntilIdle(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return idle_.wait_for(lock, timeout, [this] { return mailsUnderWay_ == 0; });
}

void ErrorReportMailer::send(const std::string& text, const std::stop_token& stopToken) {
    try {
        TamselUIKit::FeedbackSender::send(qString(feedbackMailToken), qString(supportMailAddress), QString(),
                                          QString(), qString(appName), qString(text), QString(), stopToken);
    } catch (...) {
        // A lost report is not worth troubling the user or the log with.
    }
}

} // namespace Marrowbell::ErrorReporting
