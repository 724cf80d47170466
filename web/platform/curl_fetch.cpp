// The platform part of the HTTP transfer component over libcurl: one blocking fetch on the
// worker thread the shared part starts (see web/worker_transfer.h).
// Choices of this component:
// - HTTP and HTTPS only (also for redirects); up to 5 redirects are followed.
// - HTTPS checks the server against the system's certificate store.
// - Every request names the program in its User-Agent header (kUserAgent).
// - The request time-out covers the whole transfer and is counted by libcurl on the worker.
// - libcurl is initialised once per process and stays initialised until the process ends.
// - Connections are kept between fetches of one component and reused where possible: a
//   finished fetch hands its handle back for the next one.
// - A body is never held beyond kLongestBodyBytes: the first byte past it stops the
//   transfer, so a server sending without end costs neither memory nor the time-out.
// - A cancelled fetch stops at libcurl's next progress call.

#include <curl/curl.h>

#include <array>
#include <mutex>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "web/worker_transfer.h"

namespace stratocue::web {

namespace {

constexpr const char* kWebProtocols = "http,https";

struct EasyDeleter {
    void operator()(CURL* easy) const noexcept { curl_easy_cleanup(easy); }
};
using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;

// Initialises libcurl the first time any component is made, from whichever thread.
void initialiseCurlOnce() {
    static std::once_flag initialised;
    std::call_once(initialised, [] {
        const CURLcode code = curl_global_init(CURL_GLOBAL_DEFAULT);
        if (code != CURLE_OK) {
            throw TransferError(std::string("could not initialise libcurl: ") + curl_easy_strerror(code));
        }
    });
}

// The body as it arrives, whether the server sent more than a body may hold, and the
// fetch's terms for its cancel mark.
struct ReceivedBody {
    std::vector<std::byte> bytes;
    bool tooLong = false;
    const FetchTerms* terms = nullptr;
};

// libcurl's write callback: appends the received bytes to the body. Returning fewer bytes
// than offered makes libcurl abort the transfer: done when the body would grow past
// kLongestBodyBytes, and when memory runs out.
std::size_t appendToBody(char* data, std::size_t size, std::size_t count, void* received) {
    const std::size_t byteCount = size * count;
    auto& body = *static_cast<ReceivedBody*>(received);
    if (byteCount > kLongestBodyBytes - body.bytes.size()) {
        body.tooLong = true;
        return 0;
    }
    try {
        const auto bytes = std::as_bytes(std::span<const char>(data, byteCount));
        body.bytes.insert(body.bytes.end(), bytes.begin(), bytes.end());
        return byteCount;
    } catch (...) {
        return 0;
    }
}

// libcurl's progress callback: a non-zero return stops a cancelled fetch.
int stopWhenCancelled(void* received, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<const ReceivedBody*>(received)->terms->cancelled() ? 1 : 0;
}

// Sets one option of an easy handle; a refusal is a TransferError naming the option.
template <typename Value>
void setOption(CURL* easy, CURLoption option, Value value, const char* optionName) {
    const CURLcode code = curl_easy_setopt(easy, option, value);
    if (code != CURLE_OK) {
        throw TransferError(std::string("could not set ") + optionName + ": " + curl_easy_strerror(code));
    }
}

// The text of a failed transfer, by the kind of failure.
TransferError failureOf(CURLcode code, const FetchTerms& terms, const std::string& reason) {
    const std::string& url = terms.url();
    switch (code) {
        case CURLE_URL_MALFORMAT:
        case CURLE_UNSUPPORTED_PROTOCOL:
            return TransferError("invalid URL \"" + url + "\": " + reason);
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_RESOLVE_PROXY:
            return TransferError("could not find the host of " + url + ": " + reason);
        case CURLE_COULDNT_CONNECT:
            return TransferError("could not connect to " + url + " (refused or unreachable): " + reason);
        case CURLE_OPERATION_TIMEDOUT:
            return terms.timeoutError(reason);
        case CURLE_TOO_MANY_REDIRECTS:
            return terms.tooManyRedirectsError(reason);
        case CURLE_ABORTED_BY_CALLBACK:
            if (terms.cancelled()) return terms.cancelledError();
            return TransferError("transfer of " + url + " failed: " + reason);
        default:
            return TransferError("transfer of " + url + " failed: " + reason);
    }
}

class CurlFetch final : public BlockingFetch {
public:
    CurlFetch() { initialiseCurlOnce(); }

    HttpResponse fetch(const FetchTerms& terms) override {
        ReceivedBody body;
        body.terms = &terms;
        std::array<char, CURL_ERROR_SIZE> errorText{};
        EasyHandle easy = takeHandle(terms);  // after the buffers: cleaned up before them
        prepare(easy.get(), terms, body, errorText);
        const CURLcode result = curl_easy_perform(easy.get());
        if (body.tooLong) {
            throw terms.tooLongError();
        }
        if (result != CURLE_OK) {
            const std::string reason =
                errorText.front() != '\0' ? std::string(errorText.data()) : std::string(curl_easy_strerror(result));
            throw failureOf(result, terms, reason);
        }
        long status = 0;
        if (curl_easy_getinfo(easy.get(), CURLINFO_RESPONSE_CODE, &status) != CURLE_OK) status = 0;
        giveBack(std::move(easy));
        return {status, std::move(body.bytes)};
    }

private:
    // A handle of an earlier fetch, with its open connections, or a new one.
    EasyHandle takeHandle(const FetchTerms& terms) {
        {
            const std::lock_guard lock(mutex_);
            if (!idleHandles_.empty()) {
                EasyHandle easy = std::move(idleHandles_.back());
                idleHandles_.pop_back();
                return easy;
            }
        }
        EasyHandle easy(curl_easy_init());
        if (!easy) throw TransferError("could not create a transfer for " + terms.url());
        return easy;
    }

    // Keeps the handle's connections for the next fetch; its options, which point at this
    // fetch's buffers, are dropped.
    void giveBack(EasyHandle easy) {
        curl_easy_reset(easy.get());
        const std::lock_guard lock(mutex_);
        idleHandles_.push_back(std::move(easy));
    }

    // The options of one fetch; `body` and `errorText` outlive the perform.
    static void prepare(CURL* easy, const FetchTerms& terms, ReceivedBody& body,
                        std::array<char, CURL_ERROR_SIZE>& errorText) {
        const curl_write_callback writer = &appendToBody;
        const curl_xferinfo_callback progress = &stopWhenCancelled;
        setOption(easy, CURLOPT_URL, terms.url().c_str(), "the URL");
        setOption(easy, CURLOPT_PROTOCOLS_STR, kWebProtocols, "the protocols");
        setOption(easy, CURLOPT_REDIR_PROTOCOLS_STR, kWebProtocols, "the redirect protocols");
        setOption(easy, CURLOPT_FOLLOWLOCATION, 1L, "redirect following");
        setOption(easy, CURLOPT_MAXREDIRS, static_cast<long>(kMostRedirects), "the redirect limit");
        setOption(easy, CURLOPT_TIMEOUT_MS, static_cast<long>(terms.timeLeft().count()), "the time-out");
        setOption(easy, CURLOPT_NOSIGNAL, 1L, "no signals");
        setOption(easy, CURLOPT_USERAGENT, kUserAgent, "the user agent");
        setOption(easy, CURLOPT_WRITEFUNCTION, writer, "the body writer");
        setOption(easy, CURLOPT_WRITEDATA, static_cast<void*>(&body), "the body buffer");
        setOption(easy, CURLOPT_XFERINFOFUNCTION, progress, "the progress callback");
        setOption(easy, CURLOPT_XFERINFODATA, static_cast<void*>(&body), "the progress data");
        setOption(easy, CURLOPT_NOPROGRESS, 0L, "progress calls");
        setOption(easy, CURLOPT_ERRORBUFFER, errorText.data(), "the error buffer");
#ifdef _WIN32
        // libcurl built with OpenSSL on Windows has no certificate bundle of its own.
        setOption(easy, CURLOPT_SSL_OPTIONS, static_cast<long>(CURLSSLOPT_NATIVE_CA), "the certificate store");
#endif
    }

    std::mutex mutex_;
    std::vector<EasyHandle> idleHandles_;
};

}  // namespace

std::unique_ptr<HttpTransfer> makeCurlTransfer(TransferSettings settings) {
    return std::make_unique<WorkerTransfer>(std::make_shared<CurlFetch>(), settings);
}

}  // namespace stratocue::web
