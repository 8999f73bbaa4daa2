#include "UsageStats/CurlTransport.h"

#include <curl/curl.h>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>

namespace UsageStats {
namespace {

struct CurlEasyDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};

struct CurlListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

struct CurlMultiDeleter {
    void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};

/// The transfer in a multi handle for as long as this lives.
class MultiTransfer {
public:
    MultiTransfer(CURLM* multi, CURL* easy)
        : multi_(multi)
        , easy_(easy) {
        curl_multi_add_handle(multi_, easy_);
    }
    ~MultiTransfer() { curl_multi_remove_handle(multi_, easy_); }
    MultiTransfer(const MultiTransfer&) = delete;
    MultiTransfer& operator=(const MultiTransfer&) = delete;

private:
    CURLM* multi_;
    CURL* easy_;
};

/// Runs the transfer to its end and returns its error, if any. A multi handle rather than a plain perform,
/// so that a stop request wakes the wait at once instead of letting a slow service hold the thread.
std::optional<std::string> transfer(CURL* easy, const std::stop_token& stopToken) {
    std::unique_ptr<CURLM, CurlMultiDeleter> multi(curl_multi_init());
    if (!multi) {
        return "Could not create an HTTP request";
    }
    const MultiTransfer added(multi.get(), easy);
    const std::stop_callback wakeUp(stopToken, [handle = multi.get()] { curl_multi_wakeup(handle); });
    int running = 1;
    while (running > 0) {
        if (stopToken.stop_requested()) {
            return "Upload cancelled";
        }
        if (const CURLMcode code = curl_multi_perform(multi.get(), &running); code != CURLM_OK) {
            return curl_multi_strerror(code);
        }
        if (running > 0) {
            curl_multi_poll(multi.get(), nullptr, 0, 1000, nullptr);
        }
    }
    int remaining = 0;
    while (const CURLMsg* message = curl_multi_info_read(multi.get(), &remaining)) {
        if (message->msg == CURLMSG_DONE && message->data.result != CURLE_OK) {
            return curl_easy_strerror(message->data.result);
        }
    }
    return std::nullopt;
}

size_t appendToString(char* data, size_t size, size_t count, void* target) {
    static_cast<std::string*>(target)->append(data, size * count);
    return size * count;
}

} // namespace

CurlTransport::CurlTransport() {
    static std::once_flag initialised;
    std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

HttpReply CurlTransport::post(const HttpRequest& request) {
    HttpReply reply;
    std::unique_ptr<CURL, CurlEasyDeleter> handle(curl_easy_init());
    if (!handle) {
        reply.transportError = "Could not create an HTTP request";
        return reply;
    }
    // Without this curl asks for a "100 Continue" before larger bodies and waits a second for servers
    // that never send one.
    std::unique_ptr<curl_slist, CurlListDeleter> headers(curl_slist_append(nullptr, "Expect:"));
    for (const auto& [name, value] : request.headers) {
        const std::string line = name + ": " + value;
        headers.reset(curl_slist_append(headers.release(), line.c_str()));
    }
    CURL* curl = handle.get();
    curl_easy_setopt(curl, CURLOPT_URL, request.url.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, static_cast<long>(request.timeout.count()));
    curl_easy_setopt(curl, CURLOPT_POST, 1L);
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, request.body.data());
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body.size()));
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, appendToString);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &reply.body);

    if (auto error = transfer(curl, request.stopToken)) {
        reply.transportError = std::move(error);
        return reply;
    }
    long statusCode = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &statusCode);
    reply.statusCode = statusCode;
    return reply;
}

} // namespace UsageStats
