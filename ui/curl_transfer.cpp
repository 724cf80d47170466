// The HTTP transfer component over libcurl's multi interface.
//
// A fetch runs on the calling thread: it drives libcurl in short rounds and calls the
// keep-alive hook between them, so the windows stay responsive while it blocks.
// Choices of this component:
// - HTTP and HTTPS only (also for redirects); up to 5 redirects are followed.
// - HTTPS checks the server against the system's certificate store.
// - Every request names the program in its User-Agent header (kUserAgent).
// - The request time-out covers the whole transfer; a time-out below 1 second is taken
//   as 1 second, so a fetch never waits for ever. The default is 30 seconds.
// - libcurl is initialised once per process and stays initialised until the process ends.
// - Connections are kept between fetches of one component and reused where possible.
// - A body is never held beyond kLongestBodyBytes: the first byte past it stops the
//   transfer, so a server sending without end costs neither memory nor the time-out.
// - Cancel() stops the running fetch after the current keep-alive round.

#include "ui/http_transfer.h"

#include <curl/curl.h>

#include <algorithm>
#include <array>
#include <mutex>
#include <string>
#include <utility>

namespace stratocue::ui {

namespace {

// The longest the calling thread waits on the sockets before its events run again; kept
// well below the 50 ms a window may go unanswered during a download.
constexpr int kPollWaitMilliseconds = 10;
constexpr long kMaxRedirects = 5;
constexpr std::int32_t kShortestTimeoutSeconds = 1;
constexpr const char* kWebProtocols = "http,https";

struct EasyDeleter {
    void operator()(CURL* easy) const noexcept { curl_easy_cleanup(easy); }
};
struct MultiDeleter {
    void operator()(CURLM* multi) const noexcept { curl_multi_cleanup(multi); }
};
using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;
using MultiHandle = std::unique_ptr<CURLM, MultiDeleter>;

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

// The body as it arrives, and whether the server sent more than a body may hold.
struct ReceivedBody {
    std::vector<std::byte> bytes;
    bool tooLong = false;
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

// Sets one option of an easy handle; a refusal is a TransferError naming the option.
template <typename Value>
void setOption(CURL* easy, CURLoption option, Value value, const char* optionName) {
    const CURLcode code = curl_easy_setopt(easy, option, value);
    if (code != CURLE_OK) {
        throw TransferError(std::string("could not set ") + optionName + ": " + curl_easy_strerror(code));
    }
}

// Raises a TransferError when a multi-interface call failed.
void checkMulti(CURLMcode code, const char* callName) {
    if (code != CURLM_OK) {
        throw TransferError(std::string(callName) + " failed: " + curl_multi_strerror(code));
    }
}

// One fetch: an easy handle with the buffers libcurl writes into. It stays in place
// (no copy, no move) because libcurl keeps pointers to those buffers.
class Fetch {
public:
    Fetch(const std::string& url, std::int32_t timeoutSeconds) : easy_(curl_easy_init()) {
        if (!easy_) throw TransferError("could not create a transfer for " + url);
        CURL* const easy = easy_.get();
        const curl_write_callback writer = &appendToBody;
        setOption(easy, CURLOPT_URL, url.c_str(), "the URL");
        setOption(easy, CURLOPT_PROTOCOLS_STR, kWebProtocols, "the protocols");
        setOption(easy, CURLOPT_REDIR_PROTOCOLS_STR, kWebProtocols, "the redirect protocols");
        setOption(easy, CURLOPT_FOLLOWLOCATION, 1L, "redirect following");
        setOption(easy, CURLOPT_MAXREDIRS, kMaxRedirects, "the redirect limit");
        setOption(easy, CURLOPT_TIMEOUT, static_cast<long>(timeoutSeconds), "the time-out");
        setOption(easy, CURLOPT_NOSIGNAL, 1L, "no signals");
        setOption(easy, CURLOPT_USERAGENT, kUserAgent, "the user agent");
        setOption(easy, CURLOPT_WRITEFUNCTION, writer, "the body writer");
        setOption(easy, CURLOPT_WRITEDATA, static_cast<void*>(&body_), "the body buffer");
        setOption(easy, CURLOPT_ERRORBUFFER, errorText_.data(), "the error buffer");
#ifdef _WIN32
        // libcurl built with OpenSSL on Windows has no certificate bundle of its own.
        setOption(easy, CURLOPT_SSL_OPTIONS, static_cast<long>(CURLSSLOPT_NATIVE_CA), "the certificate store");
#endif
    }
    Fetch(const Fetch&) = delete;
    Fetch& operator=(const Fetch&) = delete;
    Fetch(Fetch&&) = delete;
    Fetch& operator=(Fetch&&) = delete;
    ~Fetch() = default;

    [[nodiscard]] CURL* handle() const noexcept { return easy_.get(); }
    // libcurl's own words on the last failure, or its generic text for the code.
    [[nodiscard]] std::string reason(CURLcode code) const {
        return errorText_.front() != '\0' ? std::string(errorText_.data()) : std::string(curl_easy_strerror(code));
    }
    // The HTTP status of the answer; 0 when none arrived.
    [[nodiscard]] long httpStatus() const noexcept {
        long status = 0;
        if (curl_easy_getinfo(easy_.get(), CURLINFO_RESPONSE_CODE, &status) != CURLE_OK) return 0;
        return status;
    }
    [[nodiscard]] std::vector<std::byte> takeBody() noexcept { return std::move(body_.bytes); }
    // The server sent more than a body may hold; the transfer was stopped there.
    [[nodiscard]] bool bodyTooLong() const noexcept { return body_.tooLong; }

private:
    std::array<char, CURL_ERROR_SIZE> errorText_{};
    ReceivedBody body_;
    EasyHandle easy_;  // last member: cleaned up first, while the buffers still exist
};

// Keeps an easy handle on a multi handle for one scope.
class Attachment {
public:
    Attachment(CURLM* multi, CURL* easy) : multi_(multi), easy_(easy) {
        checkMulti(curl_multi_add_handle(multi_, easy_), "curl_multi_add_handle");
    }
    Attachment(const Attachment&) = delete;
    Attachment& operator=(const Attachment&) = delete;
    Attachment(Attachment&&) = delete;
    Attachment& operator=(Attachment&&) = delete;
    ~Attachment() { curl_multi_remove_handle(multi_, easy_); }

private:
    CURLM* multi_;
    CURL* easy_;
};

// Marks a fetch as running for one scope, however the scope is left.
class RunningMark {
public:
    explicit RunningMark(bool& running) noexcept : running_(running) { running_ = true; }
    RunningMark(const RunningMark&) = delete;
    RunningMark& operator=(const RunningMark&) = delete;
    RunningMark(RunningMark&&) = delete;
    RunningMark& operator=(RunningMark&&) = delete;
    ~RunningMark() { running_ = false; }

private:
    bool& running_;
};

// The text of a failed transfer, by the kind of failure.
std::string failureText(CURLcode code, const std::string& url, std::int32_t timeoutSeconds, const std::string& reason) {
    switch (code) {
        case CURLE_URL_MALFORMAT:
        case CURLE_UNSUPPORTED_PROTOCOL:
            return "invalid URL \"" + url + "\": " + reason;
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_RESOLVE_PROXY:
            return "could not find the host of " + url + ": " + reason;
        case CURLE_COULDNT_CONNECT:
            return "could not connect to " + url + " (refused or unreachable): " + reason;
        case CURLE_OPERATION_TIMEDOUT:
            return "time-out: no complete answer from " + url + " within " + std::to_string(timeoutSeconds) +
                   " s: " + reason;
        default:
            return "transfer of " + url + " failed: " + reason;
    }
}

class CurlTransfer final : public HttpTransfer {
public:
    CurlTransfer() {
        initialiseCurlOnce();
        multi_.reset(curl_multi_init());
        if (!multi_) throw TransferError("could not create the HTTP transfer component");
    }

    std::vector<std::byte> OpenUrl(std::string_view url) override { return acceptedBody(FetchResponse(url), url); }

    HttpResponse FetchResponse(std::string_view url) override {
        if (running_) throw TransferError("a transfer is still executing");
        const RunningMark mark(running_);
        cancelRequested_ = false;
        if (url.empty()) throw TransferError("invalid URL: it is empty");
        if (url.find('\0') != std::string_view::npos) throw TransferError("invalid URL: it contains a zero character");

        const std::string urlText(url);
        const std::int32_t timeoutSeconds = timeoutSeconds_;
        Fetch fetch(urlText, timeoutSeconds);
        {
            const Attachment attachment(multi_.get(), fetch.handle());
            runUntilDone(urlText);
            const CURLcode result = resultOf(fetch.handle());
            if (fetch.bodyTooLong()) {
                throw TransferError("the answer from " + urlText + " is longer than " +
                                    std::to_string(kLongestBodyBytes) + " bytes");
            }
            if (result != CURLE_OK) {
                throw TransferError(failureText(result, urlText, timeoutSeconds, fetch.reason(result)));
            }
        }
        return {fetch.httpStatus(), fetch.takeBody()};
    }

    void setRequestTimeout(std::int32_t seconds) override {
        timeoutSeconds_ = std::max(seconds, kShortestTimeoutSeconds);
    }

    [[nodiscard]] std::int32_t requestTimeout() const override { return timeoutSeconds_; }

    [[nodiscard]] bool StillExecuting() const override { return running_; }

    void Cancel() override {
        if (running_) cancelRequested_ = true;
    }

    void setKeepAlive(std::function<void()> hook) override { keepAlive_ = std::move(hook); }

private:
    // Drives the attached transfer to its end, calling the keep-alive hook every round;
    // raises when the hook cancelled the fetch.
    void runUntilDone(const std::string& url) {
        int transfersRunning = 1;
        for (;;) {
            checkMulti(curl_multi_perform(multi_.get(), &transfersRunning), "curl_multi_perform");
            if (transfersRunning == 0) return;
            callKeepAlive();
            if (cancelRequested_) throw TransferError("the transfer of " + url + " was cancelled");
            checkMulti(curl_multi_poll(multi_.get(), nullptr, 0, kPollWaitMilliseconds, nullptr), "curl_multi_poll");
        }
    }

    // Calls a copy of the hook, so the hook may replace itself while it runs.
    void callKeepAlive() const {
        if (!keepAlive_) return;
        const std::function<void()> hook = keepAlive_;
        hook();
    }

    // The outcome libcurl reported for the finished easy handle.
    CURLcode resultOf(CURL* easy) const {
        int messagesLeft = 0;
        while (const CURLMsg* message = curl_multi_info_read(multi_.get(), &messagesLeft)) {
            if (message->msg == CURLMSG_DONE && message->easy_handle == easy) return message->data.result;
        }
        throw TransferError("the transfer ended without a result");
    }

    MultiHandle multi_;
    std::function<void()> keepAlive_;
    std::int32_t timeoutSeconds_ = kDefaultTimeoutSeconds;
    bool running_ = false;
    bool cancelRequested_ = false;
};

}  // namespace

std::unique_ptr<HttpTransfer> makeCurlTransfer() { return std::make_unique<CurlTransfer>(); }

}  // namespace stratocue::ui
