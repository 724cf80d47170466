#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace stratocue::ui {

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
    // Request time-out in seconds for the whole transfer.
    virtual void setRequestTimeout(std::int32_t seconds) = 0;
    [[nodiscard]] virtual std::int32_t requestTimeout() const = 0;
    // True while a fetch is under way.
    [[nodiscard]] virtual bool StillExecuting() const = 0;
    // Called again and again while a fetch waits; the Qt program pumps its events here.
    virtual void setKeepAlive(std::function<void()> hook) = 0;
};

// The libcurl implementation (HTTP and HTTPS).
[[nodiscard]] std::unique_ptr<HttpTransfer> makeCurlTransfer();

// The WinINet implementation (HTTP and HTTPS), in the Windows build.
[[nodiscard]] std::unique_ptr<HttpTransfer> makeWinInetTransfer();

// The body of an answer as OpenUrl hands it out: an HTTP error status (400 and above) or
// an empty body raises TransferError naming the URL.
[[nodiscard]] std::vector<std::byte> acceptedBody(HttpResponse response, std::string_view url);

// Turns a response body into the page text, one character per byte. A body that is empty
// or longer than 32,767 bytes is a fault of the caller (RuntimeFault).
[[nodiscard]] std::string pageTextFromBody(std::span<const std::byte> body);

}  // namespace stratocue::ui
