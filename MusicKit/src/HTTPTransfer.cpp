#include "HTTPTransfer.h"

#include "MusicKit/URLError.h"

#include <Foundation/CancellationError.h>
#include <array>
#include <cerrno>
#include <cmath>
#include <curl/curl.h>
#include <memory>
#include <mutex>

namespace MusicKit {
namespace {

void initializeCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

/// One easy handle inside one multi handle per thread: the multi handle keeps the connection cache,
/// so the pages of a listing reuse their connection, and it can be woken up to cancel a transfer.
struct ThreadHandles {
    ThreadHandles() {
        initializeCurlOnce();
        multi = curl_multi_init();
        easy = curl_easy_init();
    }
    ~ThreadHandles() {
        curl_easy_cleanup(easy);
        curl_multi_cleanup(multi);
    }
    ThreadHandles(const ThreadHandles&) = delete;
    ThreadHandles& operator=(const ThreadHandles&) = delete;

    CURLM* multi = nullptr;
    CURL* easy = nullptr;
};

ThreadHandles& threadHandles() {
    thread_local ThreadHandles handles;
    return handles;
}

struct HeaderListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using HeaderList = std::unique_ptr<curl_slist, HeaderListDeleter>;

HeaderList makeHeaderList(const std::vector<std::string>& headers) {
    curl_slist* list = nullptr;
    for (const auto& header : headers) {
        list = curl_slist_append(list, header.c_str());
    }
    return HeaderList(list);
}

/// Keeps the easy handle in the multi handle for the length of one transfer, and afterwards drops
/// its pointers to the caller's header list, body and error buffer, which do not outlive the call.
class AttachedTransfer {
public:
    AttachedTransfer(CURLM* multi, CURL* easy)
        : multi_(multi)
        , easy_(easy) {
        curl_multi_add_handle(multi_, easy_);
    }
    ~AttachedTransfer() {
        curl_multi_remove_handle(multi_, easy_);
        curl_easy_setopt(easy_, CURLOPT_HTTPHEADER, nullptr);
        curl_easy_setopt(easy_, CURLOPT_WRITEDATA, nullptr);
        curl_easy_setopt(easy_, CURLOPT_ERRORBUFFER, nullptr);
    }
    AttachedTransfer(const AttachedTransfer&) = delete;
    AttachedTransfer& operator=(const AttachedTransfer&) = delete;

private:
    CURLM* multi_;
    CURL* easy_;
};

std::size_t appendToBody(char* data, std::size_t size, std::size_t count, void* body) {
    static_cast<std::string*>(body)->append(data, size * count);
    return size * count;
}

/// Whether a failed connect found no network at all, rather than a host that turned it away.
bool isNoNetwork(long connectErrno) {
    return connectErrno == ENETUNREACH || connectErrno == EHOSTUNREACH || connectErrno == ENETDOWN;
}

/// `connectErrno` is the system's error of the last connect attempt.
URLError::Code urlErrorCode(CURLcode result, long connectErrno) {
    switch (result) {
    case CURLE_OPERATION_TIMEDOUT:
        return URLError::Code::timedOut;
    // Without a network names do not resolve and connections find no route.
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
        return URLError::Code::notConnectedToInternet;
    case CURLE_COULDNT_CONNECT:
        return isNoNetwork(connectErrno) ? URLError::Code::notConnectedToInternet
                                         : URLError::Code::cannotConnectToHost;
    case CURLE_PARTIAL_FILE:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_GOT_NOTHING:
        return URLError::Code::networkConnectionLost;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CACERT_BADFILE:
        return URLError::Code::secureConnectionFailed;
    default:
        return URLError::Code::unknown;
    }
}

void configure(CURL* easy, const URLRequest& request, curl_slist* headers, double timeoutSeconds,
               std::string& body, char* errorBuffer) {
    curl_easy_reset(easy);
    curl_easy_setopt(easy, CURLOPT_URL, request.url.absoluteString().c_str());
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, static_cast<long>(std::ceil(timeoutSeconds * 1000.0)));
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, appendToBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &body);
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, errorBuffer);
    if (request.httpMethod == "POST") {
        curl_easy_setopt(easy, CURLOPT_POST, 1L);
        curl_easy_setopt(easy, CURLOPT_POSTFIELDS, "");
        curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE, 0L);
    } else if (request.httpMethod != "GET") {
        curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, request.httpMethod.c_str());
    }
}

/// Drives the transfer until it ends; returns curl's result for it.
CURLcode runTransfer(CURLM* multi, const std::stop_token& stopToken) {
    const std::stop_callback wakeOnStop(stopToken, [multi] { curl_multi_wakeup(multi); });
    for (;;) {
        Foundation::checkCancellation(stopToken);
        int running = 0;
        if (const CURLMcode status = curl_multi_perform(multi, &running); status != CURLM_OK) {
            throw URLError(URLError::Code::unknown, curl_multi_strerror(status));
        }
        if (running == 0) {
            break;
        }
        curl_multi_poll(multi, nullptr, 0, 1000, nullptr);
    }
    int remaining = 0;
    while (const CURLMsg* message = curl_multi_info_read(multi, &remaining)) {
        if (message->msg == CURLMSG_DONE) {
            return message->data.result;
        }
    }
    return CURLE_GOT_NOTHING;
}

} // namespace

HTTPResponse performHTTPRequest(const URLRequest& request, const std::vector<std::string>& headers,
                                double timeoutSeconds, std::stop_token stopToken) {
    Foundation::checkCancellation(stopToken);
    ThreadHandles& handles = threadHandles();
    const HeaderList headerList = makeHeaderList(headers);
    HTTPResponse response;
    std::array<char, CURL_ERROR_SIZE> errorBuffer{};
    configure(handles.easy, request, headerList.get(), timeoutSeconds, response.body, errorBuffer.data());

    const AttachedTransfer transfer(handles.multi, handles.easy);
    const CURLcode result = runTransfer(handles.multi, stopToken);
    if (result != CURLE_OK) {
        const std::string detail = errorBuffer[0] != '\0' ? errorBuffer.data() : curl_easy_strerror(result);
        long connectErrno = 0;
        curl_easy_getinfo(handles.easy, CURLINFO_OS_ERRNO, &connectErrno);
        throw URLError(urlErrorCode(result, connectErrno),
                       "The request to the music service failed: " + detail);
    }
    curl_easy_getinfo(handles.easy, CURLINFO_RESPONSE_CODE, &response.status);
    return response;
}

} // namespace MusicKit
