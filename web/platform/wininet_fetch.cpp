// The platform part of the HTTP transfer component over WinINet, for the Windows program:
// one blocking fetch on the worker thread the shared part starts (see
// web/worker_transfer.h). Choices of this component, the same as the libcurl one's:
// - HTTP and HTTPS only (also for redirects); up to 5 redirects are followed. The component
//   follows them itself, so the limit and the schemes do not depend on WinINet's settings.
// - HTTPS checks the server against the system's certificate store (WinINet's default).
// - The request time-out covers the whole transfer. WinINet's own time-outs count per operation, so
//   before every blocking call they are set to the time that is left, on the connection
//   and on the request handle (Wine ignores time-outs set on the session handle).
// - WinINet reports a time-out as 12002; Wine reports it as 12030 (connection aborted) or
//   10060 (the socket's time-out). Any failure code counts as a failure; 12002, 10060 and
//   any failure that comes when the time is up are reported as a time-out.
// - Name look-ups have no time-out in WinINet: the shared part gives such a worker up a
//   few seconds after the time-out (it owns everything it uses).
// - A body is never held beyond kLongestBodyBytes: the first byte past it stops the
//   transfer, so a server sending without end costs neither memory nor the time-out.
// - A cancelled fetch stops before its next WinINet call.
// - Every request names the program in its User-Agent header (kUserAgent, given to the
//   session). Connections are kept between fetches of one component where the server
//   allows it.
// - Every fetch goes to the server: no cache, no cookies, no dialogs; the system's proxy
//   settings apply.

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

#include "web/worker_transfer.h"

namespace stratocue::web {

namespace {

// WinINet's time-outs may end a call a little before the whole transfer's time is up.
constexpr auto kTimeoutSlack = std::chrono::milliseconds(100);
constexpr DWORD kReadChunkBytes = 8192;
constexpr DWORD kSocketTimedOut = 10060;  // WSAETIMEDOUT
constexpr DWORD kRequestFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                                INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_AUTO_REDIRECT |
                                INTERNET_FLAG_KEEP_CONNECTION;

struct InternetHandleCloser {
    void operator()(HINTERNET handle) const noexcept { InternetCloseHandle(handle); }
};
using InternetHandle = std::unique_ptr<void, InternetHandleCloser>;
// The session is shared by the fetch and its workers; the last one closes it.
using SharedSession = std::shared_ptr<void>;

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
    if (code == ERROR_INTERNET_TIMEOUT || code == kSocketTimedOut || terms.timeIsUp(kTimeoutSlack)) {
        throw terms.timeoutError(detail);
    }
    switch (code) {
        case ERROR_INTERNET_INVALID_URL:
        case ERROR_INTERNET_UNRECOGNIZED_SCHEME:
            throw TransferError("invalid URL \"" + terms.url() + "\": " + detail);
        case ERROR_INTERNET_NAME_NOT_RESOLVED:
            throw TransferError("could not find the host of " + terms.url() + ": " + detail);
        case ERROR_INTERNET_CANNOT_CONNECT:
            throw TransferError("could not connect to " + terms.url() + " (refused or unreachable): " + detail);
        default:
            throw TransferError("transfer of " + terms.url() + " failed: " + detail);
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
        const std::string target = url == terms.url() ? "" : "the redirect to " + url + ": ";
        return TransferError("invalid URL \"" + terms.url() + "\": " + target + reason);
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
    DWORD milliseconds = static_cast<DWORD>(terms.timeLeft().count());
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
        DWORD milliseconds = static_cast<DWORD>(terms.timeLeft().count());
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
            throw terms.tooLongError();
        }
    }
    return body;
}

// The whole blocking fetch, redirects included: the final answer whatever its status;
// raises TransferError when no answer arrived.
HttpResponse fetchBlocking(HINTERNET session, const FetchTerms& terms) {
    std::string url = terms.url();
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
                if (redirects == kMostRedirects) throw terms.tooManyRedirectsError("");
                url = resolvedLocation(url, *location, terms);
                continue;
            }
        }
        return HttpResponse{static_cast<long>(status), readBody(request.get(), terms)};
    }
}

SharedSession openSession() {
    HINTERNET session = InternetOpenA(kUserAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (session == nullptr) {
        throw TransferError("could not create the HTTP transfer component: " +
                            describeFailure("InternetOpen", GetLastError()));
    }
    return SharedSession(session, InternetHandleCloser{});
}

// The blocking fetch; the session is shared by the workers and lives while one needs it.
class WinInetFetch final : public BlockingFetch {
public:
    WinInetFetch() : session_(openSession()) {}

    HttpResponse fetch(const FetchTerms& terms) override { return fetchBlocking(session_.get(), terms); }

private:
    SharedSession session_;
};

}  // namespace

std::unique_ptr<HttpTransfer> makeWinInetTransfer(TransferSettings settings) {
    return std::make_unique<WorkerTransfer>(std::make_shared<WinInetFetch>(), settings);
}

}  // namespace stratocue::web
