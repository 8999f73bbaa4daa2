#include "TamselUIKit/FeedbackSender.h"

#include "FeedbackMailBody.h"

#include <Foundation/CancellationError.h>
#include <Foundation/JSONDecoding.h>
#include <curl/curl.h>
#include <memory>
#include <mutex>
#include <string>

using namespace Qt::StringLiterals;

namespace TamselUIKit {
namespace {

constexpr long requestTimeoutMilliseconds = 60'000;

std::mutex baseURLMutex;
QString currentBaseURL = QString::fromLatin1(FeedbackSender::defaultBaseURL);

struct EasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct HeaderListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;
using HeaderList = std::unique_ptr<curl_slist, HeaderListDeleter>;

EasyHandle makeEasyHandle() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    EasyHandle easy(curl_easy_init());
    if (!easy) {
        throw FeedbackTransportError("Could not start a mail request.");
    }
    return easy;
}

HeaderList makeHeaders(const QString& token) {
    curl_slist* list = nullptr;
    for (const QByteArray& header :
         {QByteArray("Accept: application/json"), QByteArray("Content-Type: application/json"),
          "X-Postmark-Server-Token: " + token.toUtf8()}) {
        list = curl_slist_append(list, header.constData());
    }
    return HeaderList(list);
}

std::size_t appendToReply(char* data, std::size_t size, std::size_t count, void* reply) {
    static_cast<std::string*>(reply)->append(data, size * count);
    return size * count;
}

int abortWhenStopped(void* stopToken, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<const std::stop_token*>(stopToken)->stop_requested() ? 1 : 0;
}

std::string postMail(const QByteArray& url, const HeaderList& headers, const QByteArray& body,
                     const std::stop_token& stopToken) {
    EasyHandle easy = makeEasyHandle();
    std::string reply;
    char errorText[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(easy.get(), CURLOPT_URL, url.constData());
    curl_easy_setopt(easy.get(), CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy.get(), CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy.get(), CURLOPT_TIMEOUT_MS, requestTimeoutMilliseconds);
    curl_easy_setopt(easy.get(), CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(easy.get(), CURLOPT_POSTFIELDS, body.constData());
    curl_easy_setopt(easy.get(), CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    curl_easy_setopt(easy.get(), CURLOPT_WRITEFUNCTION, appendToReply);
    curl_easy_setopt(easy.get(), CURLOPT_WRITEDATA, &reply);
    curl_easy_setopt(easy.get(), CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(easy.get(), CURLOPT_XFERINFOFUNCTION, abortWhenStopped);
    curl_easy_setopt(easy.get(), CURLOPT_XFERINFODATA, &stopToken);
    curl_easy_setopt(easy.get(), CURLOPT_ERRORBUFFER, errorText);
    const CURLcode result = curl_easy_perform(easy.get());
    Foundation::checkCancellation(stopToken);
    if (result != CURLE_OK) {
        throw FeedbackTransportError(errorText[0] != '\0' ? errorText : curl_easy_strerror(result));
    }
    return reply;
}

} // namespace

SendResponse::SendResponse(std::int64_t errorCode)
    : std::runtime_error("The mail service refused the message with error code " + std::to_string(errorCode) +
                         ".")
    , errorCode_(errorCode) {}

void FeedbackSender::setBaseURL(const QString& baseURL) {
    QString trimmed = baseURL;
    while (trimmed.endsWith(u'/')) {
        trimmed.chop(1);
    }
    const std::lock_guard lock(baseURLMutex);
    currentBaseURL = trimmed;
}

QString FeedbackSender::baseURL() {
    const std::lock_guard lock(baseURLMutex);
    return currentBaseURL;
}

void FeedbackSender::send(const QString& token, const QString& email, const QString& name,
                          const QString& replyTo, const QString& productName, const QString& message,
                          const QString& logs, std::stop_token stopToken) {
    const QByteArray body = feedbackMailBody(email, name, replyTo, productName, message, logs);
    const std::string reply =
        postMail((baseURL() + u"/email"_s).toUtf8(), makeHeaders(token), body, stopToken);
    const std::int64_t errorCode = Foundation::decodeJSON(
        reply, [](const Foundation::JSONValue& root) { return root.requiredInteger("ErrorCode"); });
    if (errorCode != 0) {
        throw SendResponse(errorCode);
    }
}

} // namespace TamselUIKit
