// The HTTP transfer component over WinINet, for the Windows program.
//
// A fetch runs on a worker thread, because WinINet's calls block; the calling thread waits
// for it in short rounds and calls the keep-alive hook between them, so the windows stay
// responsive while it blocks. Choices of this component, the same as the libcurl one's:
// - HTTP and HTTPS only (also for redirects); up to 5 redirects are followed. The component
//   follows them itself, so the limit and the schemes do not depend on WinINet's settings.
// - HTTPS checks the server against the system's certificate store (WinINet's default).
// - The request time-out covers the whole transfer; a time-out below 1 second is taken as
//   1 second. The default is 30 seconds. WinINet's own time-outs count per operation, so
//   before every blocking call they are set to the time that is left, on the connection
//   and on the request handle (Wine ignores time-outs set on the session handle).
// - WinINet reports a time-out as 12002; Wine reports it as 12030 (connection aborted) or
//   10060 (the socket's time-out). Any failure code counts as a failure; 12002, 10060 and
//   any failure that comes when the time is up are reported as a time-out.
// - Name look-ups have no time-out in WinINet. A worker still busy a few seconds after the
//   time-out is left to end on its own (it owns everything it uses) and the fetch reports
//   the time-out.
// - A body is never held beyond kLongestBodyBytes: the first byte past it stops the
//   transfer, so a server sending without end costs neither memory nor the time-out.
// - Cancel() stops the running fetch after the current keep-alive round; its worker stops
//   before its next WinINet call.
// - Every request names the program in its User-Agent header (kUserAgent, given to the
//   session). Connections are kept between fetches of one component where the server
//   allows it.
// - Every fetch goes to the server: no cache, no cookies, no dialogs; the system's proxy
//   settings apply.

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>

#include "ui/http_transfer.h"

namespace stratocue::ui {

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kWaitRound = std::chrono::milliseconds(50);
constexpr auto kAbandonAfterTimeout = std::chrono::seconds(5);
// WinINet's time-outs may end a call a little before the whole transfer's time is up.
constexpr auto kTimeoutSlack = std::chrono::milliseconds(100);
constexpr int kMaxRedirects = 5;
constexpr std::int32_t kShortestTimeoutSeconds = 1;
constexpr DWORD kReadChunkBytes = 8192;
constexpr DWORD kSocketTimedOut = 10060;  // WSAETIMEDOUT
constexpr DWORD kRequestFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                                INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_AUTO_REDIRECT |
                                INTERNET_FLAG_KEEP_CONNECTION;

struct InternetHandleCloser {
    void operator()(HINTERNET handle) const noexcept { InternetCloseHandle(handle); }
};
using InternetHandle = std::unique_ptr<void, InternetHandleCloser>;
// The session is shared by the component and its workers; the last one closes it.
using SharedSession = std::shared_ptr<void>;

// What one fetch knows: the URL asked for, its time-out, the moment the time is up, and
// whether the fetch was cancelled.
struct FetchTerms {
    std::string url;
    std::int32_t timeoutSeconds;
    Clock::time_point deadline;
    const std::atomic<bool>* cancelled;

    [[nodiscard]] bool timeIsUp() const { return Clock::now() + kTimeoutSlack >= deadline; }
    [[nodiscard]] TransferError timeoutError(const std::string& detail) const {
        return TransferError("time-out: no complete answer from " + url + " within " + std::to_string(timeoutSeconds) +
                             " s" + (detail.empty() ? "" : ": " + detail));
    }
    [[nodiscard]] TransferError cancelledError() const {
        return TransferError("the transfer of " + url + " was cancelled");
    }
    // Milliseconds left for the next blocking call; a time-out error when none are left,
    // the cancellation when the fetch was cancelled.
    [[nodiscard]] DWORD millisecondsLeft() const {
        if (*cancelled) throw cancelledError();
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) throw timeoutError("");
        return static_cast<DWORD>(left);
    }
};

// The system's words for an error code: WinINet's own codes are described by wininet.dll.
std::string systemText(DWORD code) {
    std::array<char, 512> text{};
    const HMODULE wininet = GetModuleHandleA("wininet.dll");
    const bool ownCode = code >= INTERNET_ERROR_BASE && code <= INTERNET_ERROR_LAST && wininet != nullptr;
    const DWORD flags =
        FORMAT_MESSAGE_IGNORE_INSERTS | (ownCode ? FORMAT_MESSAGE_FROM_HMODULE : FORMAT_MESSAGE_FROM_SYSTEM);
    DWORD length = FormatMessageA(flags, ownCode ? wininet : nullptr, code, 0, text.data(),
                                  static_cast<DWORD>(text.size()), nullptr);
    while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n' || text[length - 1] == ' ')) --length;
    return std::string(text.data(), length);
}

// "<call> failed with error <code> (<text>)", with the server's own words when WinINet
// has them.
std::string describeFailure(const char* callName, DWORD code) {
    std::string detail = std::string(callName) + " failed with error " + std::to_string(code);
    std::string words = systemText(code);
    if (code == ERROR_INTERNET_EXTENDED_ERROR) {
        DWORD serverCode = 0;
        std::array<char, 512> serverText{};
        DWORD length = static_cast<DWORD>(serverText.size());
        if (InternetGetLastResponseInfoA(&serverCode, serverText.data(), &length)) {
            words = std::string(serverText.data(), std::min<std::size_t>(length, serverText.size()));
        }
    }
    if (!words.empty()) detail += " (" + words + ")";
    return detail;
}

// The error of a failed WinINet call, by the kind of failure.
[[noreturn]] void failCall(const FetchTerms& terms, const char* callName) {
    const DWORD code = GetLastError();
    const std::string detail = describeFailure(callName, code);
    if (code == ERROR_INTERNET_TIMEOUT || code == kSocketTimedOut || terms.timeIsUp()) {
        throw terms.timeoutError(detail);
    }
    switch (code) {
        case ERROR_INTERNET_INVALID_URL:
        case ERROR_INTERNET_UNRECOGNIZED_SCHEME:
            throw TransferError("invalid URL \"" + terms.url + "\": " + detail);
        case ERROR_INTERNET_NAME_NOT_RESOLVED:
            throw TransferError("could not find the host of " + terms.url + ": " + detail);
        case ERROR_INTERNET_CANNOT_CONNECT:
            throw TransferError("could not connect to " + terms.url + " (refused or unreachable): " + detail);
        default:
            throw TransferError("transfer of " + terms.url + " failed: " + detail);
    }
}

// The parts of a web address WinINet's calls take.
struct WebAddress {
    bool secure = false;
    std::string host;
    INTERNET_PORT port = 0;
    std::string object;  // path and query
};

// The parts of `url`, the address asked for or a redirect's target; an invalid URL error
// naming the address asked for when WinINet cannot use it.
WebAddress crackWebAddress(const std::string& url, const FetchTerms& terms) {
    const auto invalid = [&](const std::string& reason) {
        const std::string target = url == terms.url ? "" : "the redirect to " + url + ": ";
        return TransferError("invalid URL \"" + terms.url + "\": " + target + reason);
    };
    URL_COMPONENTSA parts{};
    parts.dwStructSize = sizeof parts;
    // Non-zero lengths without buffers: WinINet points into `url`.
    parts.dwSchemeLength = 1;
    parts.dwHostNameLength = 1;
    parts.dwUrlPathLength = 1;
    parts.dwExtraInfoLength = 1;
    if (!InternetCrackUrlA(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts)) {
        throw invalid(describeFailure("InternetCrackUrl", GetLastError()));
    }
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) {
        throw invalid("not an http or https address");
    }
    const std::string_view host(parts.lpszHostName != nullptr ? parts.lpszHostName : "", parts.dwHostNameLength);
    if (host.empty() || (host.front() == '[' && host.back() != ']')) throw invalid("no usable host name");
    WebAddress address;
    address.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
    address.host = std::string(host);
    address.port = parts.nPort;
    address.object = std::string(parts.lpszUrlPath != nullptr ? parts.lpszUrlPath : "", parts.dwUrlPathLength) +
                     std::string(parts.lpszExtraInfo != nullptr ? parts.lpszExtraInfo : "", parts.dwExtraInfoLength);
    if (address.object.empty()) address.object = "/";
    return address;
}

// Sets WinINet's per-operation time-outs of a connection or request handle to what is left.
void setTimeoutsLeft(HINTERNET handle, const FetchTerms& terms) {
    DWORD milliseconds = terms.millisecondsLeft();
    for (const DWORD option :
         {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT}) {
        if (!InternetSetOptionA(handle, option, &milliseconds, sizeof milliseconds)) {
            failCall(terms, "InternetSetOption");
        }
    }
}

DWORD statusOf(HINTERNET request, const FetchTerms& terms) {
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr)) {
        failCall(terms, "HttpQueryInfo");
    }
    return status;
}

// The Location header of a redirect answer, when it has one.
std::optional<std::string> locationOf(HINTERNET request) {
    std::string text(2048, '\0');
    DWORD size = static_cast<DWORD>(text.size());
    if (!HttpQueryInfoA(request, HTTP_QUERY_LOCATION, text.data(), &size, nullptr)) {
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return std::nullopt;
        text.assign(size + 1, '\0');
        size = static_cast<DWORD>(text.size());
        if (!HttpQueryInfoA(request, HTTP_QUERY_LOCATION, text.data(), &size, nullptr)) return std::nullopt;
    }
    text.resize(size);
    if (text.empty()) return std::nullopt;
    return text;
}

// The redirect target, resolved against the address that answered with it.
std::string resolvedLocation(const std::string& base, const std::string& location, const FetchTerms& terms) {
    std::string combined(INTERNET_MAX_URL_LENGTH + 1, '\0');
    DWORD size = static_cast<DWORD>(combined.size());
    if (!InternetCombineUrlA(base.c_str(), location.c_str(), combined.data(), &size, 0)) {
        failCall(terms, "InternetCombineUrl");
    }
    combined.resize(size);
    return combined;
}

[[nodiscard]] bool isRedirect(DWORD status) {
    return status == 300 || status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

std::vector<std::byte> readBody(HINTERNET request, const FetchTerms& terms) {
    std::vector<std::byte> body;
    std::array<std::byte, kReadChunkBytes> chunk{};
    for (;;) {
        DWORD milliseconds = terms.millisecondsLeft();
        if (!InternetSetOptionA(request, INTERNET_OPTION_RECEIVE_TIMEOUT, &milliseconds, sizeof milliseconds)) {
            failCall(terms, "InternetSetOption");
        }
        // One byte more than a body may hold tells an oversized answer.
        const std::size_t room = kLongestBodyBytes + 1 - body.size();
        const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(chunk.size(), room));
        DWORD received = 0;
        if (!InternetReadFile(request, chunk.data(), wanted, &received)) failCall(terms, "InternetReadFile");
        if (received == 0) break;
        body.insert(body.end(), chunk.begin(), chunk.begin() + received);
        if (body.size() > kLongestBodyBytes) {
            throw TransferError("the answer from " + terms.url + " is longer than " +
                                std::to_string(kLongestBodyBytes) + " bytes");
        }
    }
    return body;
}

// The whole blocking fetch, redirects included: the final answer whatever its status;
// raises TransferError when no answer arrived.
HttpResponse fetchBlocking(HINTERNET session, const FetchTerms& terms) {
    std::string url = terms.url;
    for (int redirects = 0;; ++redirects) {
        const WebAddress address = crackWebAddress(url, terms);
        const InternetHandle connection(InternetConnectA(session, address.host.c_str(), address.port, nullptr, nullptr,
                                                         INTERNET_SERVICE_HTTP, 0, 0));
        if (!connection) failCall(terms, "InternetConnect");
        setTimeoutsLeft(connection.get(), terms);

        std::array<const char*, 2> acceptTypes{"*/*", nullptr};
        const DWORD flags = kRequestFlags | (address.secure ? INTERNET_FLAG_SECURE : 0);
        const InternetHandle request(HttpOpenRequestA(connection.get(), "GET", address.object.c_str(), nullptr, nullptr,
                                                      acceptTypes.data(), flags, 0));
        if (!request) failCall(terms, "HttpOpenRequest");
        setTimeoutsLeft(request.get(), terms);
        if (!HttpSendRequestA(request.get(), nullptr, 0, nullptr, 0)) failCall(terms, "HttpSendRequest");

        const DWORD status = statusOf(request.get(), terms);
        if (isRedirect(status)) {
            if (const std::optional<std::string> location = locationOf(request.get())) {
                if (redirects == kMaxRedirects) {
                    throw TransferError("transfer of " + terms.url + " failed: more than " +
                                        std::to_string(kMaxRedirects) + " redirects");
                }
                url = resolvedLocation(url, *location, terms);
                continue;
            }
        }
        return HttpResponse{static_cast<long>(status), readBody(request.get(), terms)};
    }
}

// One fetch shared by the waiting thread and the worker: the worker leaves the answer or
// the failure here and says so.
class FetchJob {
public:
    FetchJob(std::string url, std::int32_t timeoutSeconds)
        : terms_{std::move(url), timeoutSeconds, Clock::now() + std::chrono::seconds(timeoutSeconds), &cancelled_} {}

    [[nodiscard]] const FetchTerms& terms() const { return terms_; }
    // The worker stops before its next WinINet call.
    void cancel() { cancelled_ = true; }

    // On the worker.
    void run(HINTERNET session) {
        HttpResponse response;
        std::exception_ptr failure;
        try {
            response = fetchBlocking(session, terms_);
        } catch (...) {
            failure = std::current_exception();
        }
        {
            const std::lock_guard lock(mutex_);
            response_ = std::move(response);
            failure_ = failure;
            done_ = true;
        }
        finished_.notify_all();
    }

    // On the waiting thread: true when the worker has finished within `limit`.
    [[nodiscard]] bool waitDone(std::chrono::milliseconds limit) {
        std::unique_lock lock(mutex_);
        return finished_.wait_for(lock, limit, [this] { return done_; });
    }

    // The answer, or the failure raised again. Only after waitDone returned true.
    HttpResponse takeResult() {
        const std::lock_guard lock(mutex_);
        if (failure_) std::rethrow_exception(failure_);
        return std::move(response_);
    }

private:
    std::atomic<bool> cancelled_ = false;
    const FetchTerms terms_;
    std::mutex mutex_;
    std::condition_variable finished_;
    bool done_ = false;
    HttpResponse response_;
    std::exception_ptr failure_;
};

// The worker thread of one fetch: joined when it has finished, otherwise (a hook that
// raised, a worker kept waiting by WinINet) left to end on its own.
class Worker {
public:
    Worker(std::shared_ptr<FetchJob> job, SharedSession session)
        : thread_([job = std::move(job), session = std::move(session)] { job->run(session.get()); }) {}
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;
    Worker(Worker&&) = delete;
    Worker& operator=(Worker&&) = delete;
    ~Worker() {
        if (thread_.joinable()) thread_.detach();
    }

    void join() { thread_.join(); }

private:
    std::thread thread_;
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

SharedSession openSession() {
    HINTERNET session = InternetOpenA(kUserAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (session == nullptr) {
        throw TransferError("could not create the HTTP transfer component: " +
                            describeFailure("InternetOpen", GetLastError()));
    }
    return SharedSession(session, InternetHandleCloser{});
}

class WinInetTransfer final : public HttpTransfer {
public:
    WinInetTransfer() : session_(openSession()) {}

    std::vector<std::byte> OpenUrl(std::string_view url) override { return acceptedBody(FetchResponse(url), url); }

    HttpResponse FetchResponse(std::string_view url) override {
        if (running_) throw TransferError("a transfer is still executing");
        const RunningMark mark(running_);
        cancelRequested_ = false;
        if (url.empty()) throw TransferError("invalid URL: it is empty");
        if (url.find('\0') != std::string_view::npos) throw TransferError("invalid URL: it contains a zero character");

        const auto job = std::make_shared<FetchJob>(std::string(url), timeoutSeconds_);
        Worker worker(job, session_);
        while (!job->waitDone(kWaitRound)) {
            if (Clock::now() >= job->terms().deadline + kAbandonAfterTimeout) {
                job->cancel();
                throw job->terms().timeoutError("the transfer did not end");
            }
            callKeepAlive();
            if (cancelRequested_) {
                job->cancel();
                throw job->terms().cancelledError();
            }
        }
        worker.join();
        return job->takeResult();
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
    // Calls a copy of the hook, so the hook may replace itself while it runs.
    void callKeepAlive() const {
        if (!keepAlive_) return;
        const std::function<void()> hook = keepAlive_;
        hook();
    }

    SharedSession session_;
    std::function<void()> keepAlive_;
    std::int32_t timeoutSeconds_ = kDefaultTimeoutSeconds;
    bool running_ = false;
    bool cancelRequested_ = false;
};

}  // namespace

std::unique_ptr<HttpTransfer> makeWinInetTransfer() { return std::make_unique<WinInetTransfer>(); }

}  // namespace stratocue::ui
