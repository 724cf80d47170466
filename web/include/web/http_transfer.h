#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "eventlog/event_log.h"

namespace stratocue::web {

// The downloads keep a body's byte count in a 16-bit signed number: a longer body is a fault.
constexpr std::size_t kLongestBodyBytes = 32767;

// A failed transfer: no connection, an HTTP error status, a time-out, an empty body, a body
// longer than kLongestBodyBytes, a cancelled fetch, or a fetch asked for while another one
// is running.
class TransferError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What every request says about its sender: the program and its version.
inline constexpr char kUserAgent[] = "Stratocue/1.5 (real-time weather for desktop flight simulators)";

// A server's answer as it came: the HTTP status and the whole body, which may be empty.
struct HttpResponse {
    long status = 0;
    std::vector<std::byte> body;
};

// The main window's HTTP transfer component (Inet1): fetches a URL synchronously as bytes.
// The fetch runs on a worker thread while the calling thread stays in the keep-alive hook.
class HttpTransfer {
public:
    virtual ~HttpTransfer() = default;

    static constexpr std::int32_t kDefaultTimeoutSeconds = 30;

    // Fetches the URL like OpenUrl but hands out the answer whatever its status, an empty
    // body included; raises TransferError only when no answer arrived (no connection, a
    // time-out, a body too long, a cancel, another fetch running). Today's weather services
    // say "no report" with status 204 or an empty body. The default, for components that
    // know only OpenUrl, gives OpenUrl's body with status 200.
    virtual HttpResponse FetchResponse(std::string_view url);

    // Fetches the URL and returns the whole response body. Blocks until the body has
    // arrived, calling the keep-alive hook meanwhile so the windows stay responsive.
    // Raises TransferError on every failure, and when another fetch is still running. A
    // body longer than kLongestBodyBytes is not buffered: the fetch stops there and raises.
    virtual std::vector<std::byte> OpenUrl(std::string_view url) = 0;
    // Asks the running fetch to stop (the program is ending): its OpenUrl raises
    // TransferError as soon as the keep-alive hook that called this returns. Nothing when
    // no fetch runs.
    virtual void Cancel() = 0;
    // Request time-out in seconds for the whole transfer, measured by the fetch itself; a
    // time-out below one second is taken as one second.
    virtual void setRequestTimeout(std::int32_t seconds) = 0;
    [[nodiscard]] virtual std::int32_t requestTimeout() const = 0;
    // True while a fetch is under way.
    [[nodiscard]] virtual bool StillExecuting() const = 0;
    // Called again and again on the calling thread while the fetch runs on its worker; the
    // programs pump their events here. A hook that blocks (a message box) stalls nothing.
    virtual void setKeepAlive(std::function<void()> hook) = 0;
};

// What a component starts with. The time-out may be shorter than a second here (tests use
// that); setRequestTimeout takes whole seconds, at least one.
struct TransferSettings {
    std::chrono::milliseconds timeout = std::chrono::seconds(HttpTransfer::kDefaultTimeoutSeconds);
    // Where each request is told (server, URL without secrets, status, bytes, time taken, or
    // the failure); none when not given.
    eventlog::EventLog* eventLog = nullptr;
};

// The libcurl implementation (HTTP and HTTPS), in the Linux build.
[[nodiscard]] std::unique_ptr<HttpTransfer> makeCurlTransfer(TransferSettings settings = {});

// The WinINet implementation (HTTP and HTTPS), in the Windows build.
[[nodiscard]] std::unique_ptr<HttpTransfer> makeWinInetTransfer(TransferSettings settings = {});

// The body of an answer as OpenUrl hands it out: an HTTP error status (400 and above) or
// an empty body raises TransferError naming the URL.
[[nodiscard]] std::vector<std::byte> acceptedBody(HttpResponse response, std::string_view url);

}  // namespace stratocue::web
